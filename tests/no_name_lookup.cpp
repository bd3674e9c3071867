// Statically linked test programs only. GoogleTest can stream its results to a network
// socket, which pulls in the C library's name lookup; that cannot work in a static
// program and makes the linker warn. The tests never stream, so the lookup just fails.
#include <netdb.h>

extern "C" int getaddrinfo(const char *, const char *, const struct addrinfo *, struct addrinfo **result) {
    *result = nullptr;
    return EAI_FAIL;
}

extern "C" void freeaddrinfo(struct addrinfo *) {}

extern "C" const char *gai_strerror(int) { return "no name lookup in a static test program"; }
