# The hardening a Debian package's programs are built with: every relocation resolved and made read-only at
# start (-z relro, -z now) and the checked variants of the C library's copying functions (_FORTIFY_SOURCE,
# which needs an optimised build: not in Debug, nor under the sanitizers, which check the same and more).
# QUILLON_HARDENING=OFF leaves them out (a developer's tree that shares its compiler cache with older ones).
option(QUILLON_HARDENING "Build with the hardening flags of Debian packages (relro, bindnow, fortify)" ON)
if(QUILLON_HARDENING)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
  if(NOT QUILLON_SANITIZE AND NOT QUILLON_FUZZ)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  endif()
endif()
