# Cross-building for arm64 on an amd64 Debian with its multiarch packages
# (crossbuild-essential-arm64 and the :arm64 development packages, installed
# by `scripts/setup.sh --cross arm64`). The programs the build runs (the
# template and icon tools, tz305-cli for its usage text) run under qemu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static)
# Libraries are found in the target's multiarch folders
# (CMAKE_LIBRARY_ARCHITECTURE), pkg-config files too.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
# Qt's code generators (moc) are the host's.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
