# Sanitizer builds: -DCALORIX_SANITIZE=address (AddressSanitizer + UndefinedBehaviorSanitizer)
# or -DCALORIX_SANITIZE=thread (ThreadSanitizer). Qt itself stays uninstrumented; the
# suppression files in tests/sanitizers/ cover reports that stem from inside Qt only.
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
