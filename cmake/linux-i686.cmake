# Builds the platform-free code and its tests as a 32-bit x86 Linux program with the
# same floating-point model as the shipped program (SSE2 doubles, nothing fused). Where
# the kernel refuses 32-bit programs they run under user-mode emulation, so the 32-bit
# numerics are executed there too; ./test passes an empty QUORVEL_LINUX32_EMULATOR where
# the kernel runs them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
if(NOT DEFINED QUORVEL_LINUX32_EMULATOR)
  set(QUORVEL_LINUX32_EMULATOR qemu-i386-static)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVEL_LINUX32_EMULATOR})
# The sanitizers have no static 32-bit runtime; the native build runs them.
set(QUORVEL_SANITIZE OFF CACHE BOOL "" FORCE)
