// make_icon: writes the program's icon file.
//
//   make_icon OUTPUT.ico
//
// The same bytes come out on every run and every build. Exits with 1 and a message on
// standard error when the file cannot be written.
#include <stdio.h>

#include "tools/icon/icon_file.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    if (!WriteIconFile(argv[1])) {
        fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
