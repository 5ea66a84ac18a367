# The compression libraries, found as CMake packages where they are installed with one (vcpkg
# on Windows installs zstd, lz4 and zlib so; Debian 12 ships zstd's), else through pkg-config
# (Debian's liblz4-dev has no CMake package). Each is offered as an interface target of ours:
#   calorix_zstd  Zstandard, the compact thumbnails (Debian: libzstd-dev)
#   calorix_lz4   LZ4, only the benchmark's comparison of forms (Debian: liblz4-dev)
#   calorix_zlib  zlib, the temperature block's CRC-32 (Debian: zlib1g-dev)
# The Windows way is written from the packages' documented targets; it is not built here.

function(calorix_use_pkg_config target module)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(${target}_PC REQUIRED IMPORTED_TARGET ${module})
    target_link_libraries(${target} INTERFACE PkgConfig::${target}_PC)
endfunction()

if(NOT TARGET calorix_zstd)
    add_library(calorix_zstd INTERFACE)
    find_package(zstd CONFIG QUIET)
    if(TARGET zstd::libzstd_shared)
        target_link_libraries(calorix_zstd INTERFACE zstd::libzstd_shared)
    elseif(TARGET zstd::libzstd_static)
        target_link_libraries(calorix_zstd INTERFACE zstd::libzstd_static)
    else()
        calorix_use_pkg_config(calorix_zstd libzstd)
    endif()
endif()

if(NOT TARGET calorix_lz4)
    add_library(calorix_lz4 INTERFACE)
    find_package(lz4 CONFIG QUIET)
    if(TARGET lz4::lz4)
        target_link_libraries(calorix_lz4 INTERFACE lz4::lz4)
    else()
        calorix_use_pkg_config(calorix_lz4 liblz4)
    endif()
endif()

if(NOT TARGET calorix_zlib)
    add_library(calorix_zlib INTERFACE)
    # zlib's own CMake files install no package configuration; CMake's FindZLIB finds it in
    # vcpkg's tree (through its toolchain file) and on Debian.
    find_package(ZLIB QUIET)
    if(TARGET ZLIB::ZLIB)
        target_link_libraries(calorix_zlib INTERFACE ZLIB::ZLIB)
    else()
        calorix_use_pkg_config(calorix_zlib zlib)
    endif()
endif()
