/* Reads a recorder's settings and, given a new name, changes it.
 *   recorder_settings MODEL PASSWORD [NEW-NAME]      (MODEL such as VX007) */
#include <stdio.h>
#include <string.h>

#include "LibVestra.h"

/* Text outputs get the payload without a terminator: zero-filled areas. */
static char g_text[VX_TEXT_AREA];

static const char *Fresh(void) {
    memset(g_text, 0, sizeof g_text);
    return g_text;
}

static int Failed(VestraInfo *dev, const char *what) {
    fprintf(stderr, "%s failed, status %d: %s\n", what, (int)VX_GetErrNo(dev), VX_GetErrStr(dev));
    VX_UnInitDev(dev);
    return 1;
}

int main(int argc, char **argv) {
    VestraInfo *dev;
    const char *password;

    if (argc < 3) {
        fprintf(stderr, "usage: recorder_settings MODEL PASSWORD [NEW-NAME]\n");
        return 2;
    }
    password = argv[2];
    VX_SetLibLog(VX_LOG_OFF);
    dev = VX_InitDev(argv[1]); /* the first recorder of that model, opened */
    if (dev == NULL) {
        fprintf(stderr, "no %s recorder attached\n", argv[1]);
        return 1;
    }
    /* The first operation logs in with the password. */
    Fresh();
    if (!VX_GetDevName(dev, password, g_text)) return Failed(dev, "VX_GetDevName");
    printf("name: %s\n", g_text);
    Fresh();
    if (!VX_GetDevTime(dev, password, g_text)) return Failed(dev, "VX_GetDevTime");
    printf("clock: %s\n", g_text);
    Fresh();
    if (!VX_GetApn(dev, password, g_text)) return Failed(dev, "VX_GetApn");
    printf("apn: %s\n", g_text);

    if (argc > 3) {
        if (!VX_SetDevName(dev, password, argv[3])) return Failed(dev, "VX_SetDevName");
        Fresh();
        if (!VX_GetDevName(dev, password, g_text)) return Failed(dev, "VX_GetDevName");
        printf("name now: %s\n", g_text);
    }
    VX_UnInitDev(dev); /* logs out, closes, frees */
    return 0;
}
