# Sanitizer builds: -DCALORIX_SANITIZE=address (AddressSanitizer + UndefinedBehaviorSanitizer)
# or -DCALORIX_SANITIZE=thread (ThreadSanitizer). Qt itself stays uninstrumented; the
# suppression files in tests/sanitizers/ cover reports that stem from inside Qt only.
# scripts/ci-asan.sh and scripts/ci-tsan.sh show the run-time options that go with them.
set(CALORIX_SANITIZE "" CACHE STRING "Sanitizer build: empty, address or thread")
set_property(CACHE CALORIX_SANITIZE PROPERTY STRINGS "" address thread)

if(CALORIX_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
elseif(CALORIX_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT CALORIX_SANITIZE STREQUAL "")
    message(FATAL_ERROR "CALORIX_SANITIZE must be empty, address or thread")
endif()

# libFuzzer targets (fuzz/): clang only. Our code gets coverage instrumentation so the fuzzer
# can steer; Qt is linked as Debian ships it. Combine with CALORIX_SANITIZE=address.
if(CALORIX_BUILD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "CALORIX_BUILD_FUZZ needs clang: add -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
