# The Linux edition: the product as the operator runs it, so no sanitizers; Qt 6 Widgets
# and libxdo from Debian's archive (qt6-base-dev, libxdo-dev).
find_package(Qt6 REQUIRED COMPONENTS Widgets DBus)
find_package(X11 REQUIRED)
include(GNUInstallDirs)

# libxdo ships no CMake or pkg-config file.
find_path(LINTAVO_XDO_INCLUDE xdo.h REQUIRED)
find_library(LINTAVO_XDO_LIBRARY xdo REQUIRED)
add_library(lintavo_xdo INTERFACE IMPORTED)
target_include_directories(lintavo_xdo INTERFACE ${LINTAVO_XDO_INCLUDE})
target_link_libraries(lintavo_xdo INTERFACE ${LINTAVO_XDO_LIBRARY} X11::X11)

# Hardened as Debian builds its packages: checked string and memory functions, a stack
# protector, the relocations read-only before the program runs.
add_compile_options(-D_FORTIFY_SOURCE=2 -fstack-protector-strong -fstack-clash-protection)
add_link_options(-Wl,-z,relro -Wl,-z,now)
