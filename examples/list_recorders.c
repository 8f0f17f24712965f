/* Lists the recorders attached now: one update of the library's device list.
 *   list_recorders */
#include <stdio.h>

#include "LibVestra.h"

int main(void) {
    DevListInfo info[VX_LIST_SLOTS];
    uint32_t count, i;

    VX_SetLibLog(VX_LOG_OFF);
    VX_InitDevListPthread(); /* the device-event monitor; the list is updated here */
    VX_InitDevList();
    count = VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS);
    printf("%u recorder(s)\n", (unsigned)count);
    for (i = 0; i < count; ++i)
        printf("slot %d: %s serial %s id code %s\n", (int)info[i].index, info[i].handle->model.name,
               info[i].serial, info[i].idCode);
    VX_UnInitDevList();
    return 0;
}
