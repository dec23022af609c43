# Compiler flags shared by every target of the project.

add_compile_options(-Wall -Wextra -Wshadow)
if(QUARROW_WERROR)
    add_compile_options(-Werror)
endif()

if(QUARROW_SANITIZE AND QUARROW_FUZZ)
    message(FATAL_ERROR "QUARROW_SANITIZE and QUARROW_FUZZ are separate builds; a fuzzing build is already sanitized.")
endif()

if(QUARROW_SANITIZE)
    # Any report aborts the process, so a sanitizer finding fails its test.
    set(QUARROW_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    add_compile_options(${QUARROW_SANITIZER_FLAGS})
    add_link_options(${QUARROW_SANITIZER_FLAGS})
endif()

if(QUARROW_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "QUARROW_FUZZ needs clang (libFuzzer); configure a fresh build folder "
            "with -DQUARROW_FUZZ=ON, or pass -DCMAKE_CXX_COMPILER=clang++.")
    endif()
    set(QUARROW_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined
        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(${QUARROW_FUZZ_FLAGS})
    add_link_options(-fsanitize=address,undefined)
endif()
