// 64-bit FNV-1a, the checksum by which the samples, the pictures and the tests pin bytes.
#pragma once
#include <stddef.h>
#include <stdint.h>

const uint64_t FnvStart = 0xCBF29CE484222325ULL;   // the offset basis
const uint64_t FnvPrime = 0x100000001B3ULL;

// hash carried on over count bytes; start from FnvStart.
inline uint64_t Fnv1a(uint64_t hash, const void *bytes, size_t count) {
    const unsigned char *b = (const unsigned char *)bytes;
    for (size_t i = 0; i < count; i++) hash = (hash ^ b[i]) * FnvPrime;
    return hash;
}
