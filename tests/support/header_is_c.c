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

int header_is_c_status(VestraInfo *dev) { return VX_GetErrNo(dev); }
