# Strict warnings for our own targets (not for googletest, which is built from source on mingw).
add_library(mvpr_warnings INTERFACE)
target_compile_options(mvpr_warnings INTERFACE -Wall -Wextra -Werror -Wno-missing-field-initializers)
# The portable core is also held to -Wconversion; Win32 code would drown in WPARAM/LPARAM casts.
add_library(mvpr_core_warnings INTERFACE)
target_compile_options(mvpr_core_warnings INTERFACE -Wconversion -Wshadow)
# clang's -Wconversion also warns on signedness, which g++ (the host and Windows builds) leaves out;
# the fuzzing build with clang holds the core to the same rules as the others.
target_compile_options(mvpr_core_warnings INTERFACE $<$<CXX_COMPILER_ID:Clang>:-Wno-sign-conversion>)
target_link_libraries(mvpr_core_warnings INTERFACE mvpr_warnings)
