# Cross-building for 64-bit ARM Linux (the Raspberry Pi, ARM laptops) on an
# amd64 Debian with Debian's cross compiler and multiarch: the arm64 SDL2,
# SDL2_ttf and fontconfig development packages live beside the amd64 ones, in
# /usr/lib/aarch64-linux-gnu (scripts/deb arm64 installs them).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake ...
# The project's -ffp-contract=off matters most here: AArch64 has fused
# multiply-add, and a fused product would change the replays.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triplet aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
# pkg-config's cross personality: the .pc files of the arm64 packages.
set(PKG_CONFIG_EXECUTABLE ${triplet}-pkg-config CACHE FILEPATH "")

# qemu runs what the build made, for the tests (CTest and the test discovery).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)
