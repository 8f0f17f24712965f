/* The public header is plain C: this file is compiled as C99 with pedantic
 * errors, and checks the record's layout a C caller depends on. */
#include <stddef.h>

#include "LibVestra.h"

typedef char model_row_is_32_bytes[sizeof(DevModel) == 32 ? 1 : -1];
typedef char handle_comes_first[offsetof(VestraInfo, usbHandle) == 0 ? 1 : -1];
typedef char texts_have_their_sizes[sizeof(((VestraInfo *)0)->errStr) == 1024 &&
                                            sizeof(((VestraInfo *)0)->lastCmd) == 1024 &&
                                            sizeof(((VestraInfo *)0)->idCode) == 8 &&
                                            sizeof(((VestraInfo *)0)->serial) == 16
                                        ? 1
                                        : -1];

/* The identity record is packed: 94 bytes, five texts at fixed offsets. */
typedef char zfy_is_94_bytes[sizeof(ZFYInfo) == 94 ? 1 : -1];
typedef char zfy_offsets[offsetof(ZFYInfo, serial) == 0 && offsetof(ZFYInfo, userNo) == 8 &&
                                 offsetof(ZFYInfo, userName) == 15 &&
                                 offsetof(ZFYInfo, unitNo) == 48 &&
                                 offsetof(ZFYInfo, unitName) == 61
                             ? 1
                             : -1];

/* The INI records keep natural alignment: the value pointer follows the key
 * name (at 40 on 64-bit, 36 on 32-bit), the entries follow the section. */
typedef char
    ini_item_layout[sizeof(UmsIniItem) == (sizeof(void *) == 8 ? 48 : 40) &&
                            offsetof(UmsIniItem, keyName) == 4 &&
                            offsetof(UmsIniItem, valueText) == (sizeof(void *) == 8 ? 40 : 36)
                        ? 1
                        : -1];
typedef char ini_cmd_layout[offsetof(UmsIniCmd, count) == 4 && offsetof(UmsIniCmd, section) == 8 &&
                                    offsetof(UmsIniCmd, items) == 40 &&
                                    sizeof(UmsIniCmd) == 40 + 16 * sizeof(UmsIniItem)
                                ? 1
                                : -1];

/* A C caller links against the C names. That every operation is declared and
 * exported is the export check's (the header against the built library), and
 * each is called by the row table test. */
int header_is_c_status(VestraInfo *dev) { return VX_GetErrNo(dev); }
