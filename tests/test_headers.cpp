// The source of the precompiled GoogleTest headers that every test program reuses.
