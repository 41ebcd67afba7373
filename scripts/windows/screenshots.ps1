# Saves Vellicor's main window and its About window as this desktop shows them:
# main-window.png and about-window.png in the output folder. Each window draws itself into
# a bitmap (PrintWindow), so whatever stands in front of it (a runner's console window, say)
# is not in the picture, and nothing depends on owning the foreground. The player's settings
# key must exist, or Vellicor refuses to start: scripts/windows/test.sh makes a sample one
# where there is none.
#   powershell -NoProfile -ExecutionPolicy Bypass -File scripts\windows\screenshots.ps1 -Exe <Vellicor.exe> -OutDir <folder>
param(
    [Parameter(Mandatory = $true)][string]$Exe,
    [Parameter(Mandatory = $true)][string]$OutDir
)
$ErrorActionPreference = 'Stop'

# Windows PowerShell compiles this with the .NET Framework's compiler: C# 5, no newer syntax.
Add-Type -ReferencedAssemblies System.Drawing -TypeDefinition @'
using System;
using System.Diagnostics;
using System.Drawing;
using System.Drawing.Imaging;
using System.IO;
using System.Runtime.InteropServices;
using System.Threading;

public static class VellicorScreenshots {
    [StructLayout(LayoutKind.Sequential)]
    struct Rect {
        public int Left, Top, Right, Bottom;
    }

    [DllImport("user32.dll", CharSet = CharSet.Unicode)]
    static extern IntPtr FindWindowExW(IntPtr parent, IntPtr after, string className, string title);
    [DllImport("user32.dll")]
    static extern uint GetWindowThreadProcessId(IntPtr window, out uint processId);
    [DllImport("user32.dll")]
    static extern bool IsWindowVisible(IntPtr window);
    [DllImport("user32.dll")]
    static extern bool IsWindow(IntPtr window);
    [DllImport("user32.dll")]
    static extern bool GetWindowRect(IntPtr window, out Rect rect);
    [DllImport("user32.dll")]
    static extern bool PrintWindow(IntPtr window, IntPtr dc, uint flags);
    [DllImport("user32.dll")]
    static extern int GetDlgCtrlID(IntPtr window);
    [DllImport("user32.dll")]
    static extern bool PostMessageW(IntPtr window, uint message, IntPtr wParam, IntPtr lParam);
    [DllImport("user32.dll")]
    static extern IntPtr SendMessageTimeoutW(IntPtr window, uint message, IntPtr wParam, IntPtr lParam, uint flags,
                                             uint timeout, out IntPtr result);
    [DllImport("user32.dll")]
    static extern bool SetProcessDPIAware();
    [DllImport("dwmapi.dll")]
    static extern int DwmGetWindowAttribute(IntPtr window, int attribute, out Rect rect, int size);

    const uint WM_NULL = 0x0000, WM_CLOSE = 0x0010, WM_COMMAND = 0x0111;
    const uint SMTO_BLOCK = 0x0001, PW_RENDERFULLCONTENT = 0x0002;
    const int DWMWA_EXTENDED_FRAME_BOUNDS = 9;

    // The program's visible top-level window with this title (and class, when given), once
    // its thread has handled what it was sent.
    static IntPtr WaitForWindow(Process program, string className, string title) {
        Stopwatch clock = Stopwatch.StartNew();
        while (clock.Elapsed.TotalSeconds < 30) {
            if (program.HasExited) {
                throw new Exception("Vellicor ended (code " + program.ExitCode + ") before showing \"" + title + "\"");
            }
            IntPtr window = IntPtr.Zero;
            while ((window = FindWindowExW(IntPtr.Zero, window, className, title)) != IntPtr.Zero) {
                uint owner;
                GetWindowThreadProcessId(window, out owner);
                if (owner != (uint)program.Id || !IsWindowVisible(window)) continue;
                IntPtr ignored;
                SendMessageTimeoutW(window, WM_NULL, IntPtr.Zero, IntPtr.Zero, SMTO_BLOCK, 10000, out ignored);
                // Visual styles fade controls in after the first paint.
                Thread.Sleep(1000);
                return window;
            }
            Thread.Sleep(100);
        }
        throw new Exception("no window \"" + title + "\" within 30 s");
    }

    // A window that PrintWindow could not reach comes out as a plain rectangle (under Wine,
    // for one, which draws nothing for another process's window).
    static bool OneColour(Bitmap picture) {
        Color first = picture.GetPixel(0, 0);
        for (int y = 0; y < picture.Height; y += 4) {
            for (int x = 0; x < picture.Width; x += 4) {
                if (picture.GetPixel(x, y) != first) return false;
            }
        }
        return true;
    }

    static void Save(IntPtr window, string path) {
        Rect bounds;
        if (!GetWindowRect(window, out bounds)) throw new Exception("no rectangle for " + path);
        int width = bounds.Right - bounds.Left, height = bounds.Bottom - bounds.Top;
        using (Bitmap whole = new Bitmap(width, height, PixelFormat.Format24bppRgb)) {
            using (Graphics graphics = Graphics.FromImage(whole)) {
                IntPtr dc = graphics.GetHdc();
                bool drawn = PrintWindow(window, dc, PW_RENDERFULLCONTENT);
                graphics.ReleaseHdc(dc);
                if (!drawn) throw new Exception("the window did not draw itself for " + path);
            }
            // The window's rectangle takes in resize borders that the system leaves
            // invisible; the frame's bounds as drawn leave them out.
            Rectangle shown = new Rectangle(0, 0, width, height);
            Rect frame;
            if (DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, out frame, Marshal.SizeOf(typeof(Rect))) == 0) {
                shown.Intersect(new Rectangle(frame.Left - bounds.Left, frame.Top - bounds.Top, frame.Right - frame.Left,
                                              frame.Bottom - frame.Top));
            }
            using (Bitmap picture = whole.Clone(shown, whole.PixelFormat)) {
                if (OneColour(picture)) throw new Exception("the window drew nothing for " + path);
                picture.Save(path, ImageFormat.Png);
            }
        }
        Console.WriteLine("saved " + path);
    }

    public static int Run(string exe, string folder) {
        // Real pixels, as the program (per-monitor aware) lays itself out at any density.
        SetProcessDPIAware();
        Directory.CreateDirectory(folder);
        ProcessStartInfo start = new ProcessStartInfo(exe);
        start.UseShellExecute = false;
        Process vellicor = Process.Start(start);
        try {
            IntPtr main = WaitForWindow(vellicor, "VellicorForm", "Vellicor");
            Save(main, Path.Combine(folder, "main-window.png"));
            IntPtr button = FindWindowExW(main, IntPtr.Zero, "Button", "About...");
            if (button == IntPtr.Zero) throw new Exception("no \"About...\" button in the main window");
            // The button's own notification to its window: unlike a click, it needs no
            // active window.
            PostMessageW(main, WM_COMMAND, new IntPtr(GetDlgCtrlID(button)), button);
            IntPtr about = WaitForWindow(vellicor, null, "About Vellicor");
            Save(about, Path.Combine(folder, "about-window.png"));
            PostMessageW(about, WM_CLOSE, IntPtr.Zero, IntPtr.Zero);
            Stopwatch clock = Stopwatch.StartNew();
            while (IsWindow(about) && clock.Elapsed.TotalSeconds < 10) Thread.Sleep(50);
            PostMessageW(main, WM_CLOSE, IntPtr.Zero, IntPtr.Zero);
            if (!vellicor.WaitForExit(10000)) throw new Exception("Vellicor did not close");
            return 0;
        } catch (Exception failure) {
            Console.Error.WriteLine("screenshots: " + failure.Message);
            return 1;
        } finally {
            if (!vellicor.HasExited) vellicor.Kill();
        }
    }
}
'@

$code = [VellicorScreenshots]::Run([IO.Path]::GetFullPath($Exe), [IO.Path]::GetFullPath($OutDir))
exit $code
