/* Turns an encrypted recording into a playable copy; no recorder needed.
 *   decrypt_recording ENCRYPTED.avi PLAIN.avi KEY */
#include <stdio.h>

#include "LibVestra.h"

int main(int argc, char **argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: decrypt_recording ENCRYPTED.avi PLAIN.avi KEY\n");
        return 2;
    }
    /* The library logs why a file failed: here on standard output. */
    VX_SetLibLog(VX_LOG_CONSOLE);
    if (!VX_FileDecrypt(argv[1], argv[2], argv[3])) {
        fprintf(stderr, "%s: not decrypted\n", argv[1]);
        return 1;
    }
    printf("decrypted %s into %s\n", argv[1], argv[2]);
    return 0;
}
