#pragma once

// Every text the program shows in a message box, in one place.
namespace vellicor::ui::messages {

inline constexpr const wchar_t* kCouldNotOpenSettings =
    L"Could not open the XMPlay registry section. Please run XMPlay to create the keys.";

inline constexpr const wchar_t* kCouldNotFind = L"Could not find \"";
inline constexpr const wchar_t* kGlobalPlaylistNote =
    L"\r\n\r\nNote that this setting only works with a global playlist";

inline constexpr const wchar_t* kConfirmEmptyLibrary =
    L"Warning: the media library will be emptied. Are you sure you want to continue?";
inline constexpr const wchar_t* kLibraryEmptied = L"The media library has been emptied.\r\n\r\n";
inline constexpr const wchar_t* kErrorEmptyingLibrary = L"Error emptying media library";

inline constexpr const wchar_t* kConfirmEmptyPlaylist =
    L"Warning: the default playlist will be emptied. Are you sure you want to continue?";
inline constexpr const wchar_t* kPlaylistEmptied = L"The default playlist has been emptied.\r\n\r\n";
inline constexpr const wchar_t* kErrorEmptyingPlaylist = L"Error emptying default playlist";
inline constexpr const wchar_t* kErrorOpeningPlaylist = L"Error opening playlist: ";

inline constexpr const wchar_t* kAssociationsDeleted =
    L"File association information deleted - run XMPlay to recreate association information.";
inline constexpr const wchar_t* kErrorFixingAssociations = L"Error fixing file associations";

inline constexpr const wchar_t* kConfirmDeleteSettings =
    L"Warning: all XMPlay settings will be deleted. Are you sure you want to continue?\r\n\r\n"
    L"Vellicor will exit after deleting settings";
inline constexpr const wchar_t* kSettingsDeleted = L"Settings deleted!";
inline constexpr const wchar_t* kErrorDeletingSettings = L"Error deleting settings";

} // namespace vellicor::ui::messages
