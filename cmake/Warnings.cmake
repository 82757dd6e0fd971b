# Every target of the project compiles warning-free with these flags. They
# are the project's own: a directory option, never a usage requirement of a
# toolkit library, so programs built on the toolkit do not get them.
add_compile_options(-Wall -Wextra)
# Kept for targets that name it.
add_library(kestrel_warnings INTERFACE)
