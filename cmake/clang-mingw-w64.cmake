# Cross build of the Windows program with Debian's Clang, against the MinGW-w64 GCC
# runtime and headers (posix thread model), linked by LLVM's lld; resources by windres.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Clang 14 reads Debian's GCC folder name "12-posix" as no version at all and then finds
# neither libstdc++ nor the GCC runtime. A sysroot of two links in the build folder
# shows them to it where it looks: <sysroot>/lib/gcc/<target>/<version> and
# <sysroot>/<target>.
file(GLOB vellicor_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(GET vellicor_gcc_dirs 0 vellicor_gcc_dir)
get_filename_component(vellicor_gcc_version ${vellicor_gcc_dir} NAME)
string(REGEX REPLACE "-posix$" "" vellicor_gcc_version ${vellicor_gcc_version})
set(CMAKE_SYSROOT ${CMAKE_BINARY_DIR}/mingw-sysroot)
file(MAKE_DIRECTORY ${CMAKE_SYSROOT}/lib/gcc/x86_64-w64-mingw32)
file(CREATE_LINK ${vellicor_gcc_dir} ${CMAKE_SYSROOT}/lib/gcc/x86_64-w64-mingw32/${vellicor_gcc_version} SYMBOLIC)
file(CREATE_LINK /usr/x86_64-w64-mingw32 ${CMAKE_SYSROOT}/x86_64-w64-mingw32 SYMBOLIC)

# The posix thread model's runtime needs winpthread, which only GCC's driver adds itself.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-pthread -fuse-ld=lld")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows test programs run under Wine, in the prefix and display the test script sets up.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
