# Every target of the project compiles warning-free with these flags.
add_library(kestrel_warnings INTERFACE)
target_compile_options(kestrel_warnings INTERFACE -Wall -Wextra)
