/* The national-standard function set in the order a station calls it:
 * open, identity, resolution, battery, clock, write the identity back, close.
 *   standard_set PASSWORD [USER-NAME] */
#include <stdio.h>
#include <string.h>

#include "LibVestra.h"

static void PrintIdentity(const ZFYInfo *info) {
    printf("serial %s, user %s (%s), unit %s (%s)\n", info->serial, info->userNo, info->userName,
           info->unitNo, info->unitName);
}

static int Failed(const char *what, int32_t status) {
    int32_t ignored;
    fprintf(stderr, "%s failed, status %d\n", what, (int)status);
    UnInit_Device(&ignored);
    return 1;
}

int main(int argc, char **argv) {
    char idCode[8] = ""; /* empty: receive the ID code */
    ZFYInfo info;
    int32_t status = 0, width = 0, height = 0, level = 0;
    const char *password;

    if (argc < 2) {
        fprintf(stderr, "usage: standard_set PASSWORD [USER-NAME]\n");
        return 2;
    }
    password = argv[1];
    VX_SetLibLog(VX_LOG_OFF);
    if (!Init_Device(idCode, &status)) return Failed("Init_Device", status);
    printf("id code: %s\n", idCode);

    memset(&info, 0, sizeof info);
    if (!GetZFYInfo(&info, password, &status)) return Failed("GetZFYInfo", status);
    PrintIdentity(&info);
    if (!ReadDeviceResolution(&width, &height, password, &status))
        return Failed("ReadDeviceResolution", status);
    printf("resolution: %dx%d\n", (int)width, (int)height);
    if (!ReadDeviceBatteryDumpEnergy(&level, password, &status))
        return Failed("ReadDeviceBatteryDumpEnergy", status);
    printf("battery: %d\n", (int)level);
    if (!SyncDevTime(password, &status)) return Failed("SyncDevTime", status);
    printf("clock set (status %d)\n", (int)status);

    if (argc > 2) {
        snprintf(info.userName, sizeof info.userName, "%s", argv[2]);
        if (!WriteZFYInfo(&info, password, &status)) return Failed("WriteZFYInfo", status);
        memset(&info, 0, sizeof info);
        if (!GetZFYInfo(&info, password, &status)) return Failed("GetZFYInfo", status);
        PrintIdentity(&info);
    }
    UnInit_Device(&status);
    return 0;
}
