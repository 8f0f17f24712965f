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

/* Every device operation is declared, and linkable from C. */
typedef void (*vx_any_fn)(void);
const vx_any_fn header_is_c_device_operations[] = {
    (vx_any_fn)VX_GetDevInfo,
    (vx_any_fn)VX_SetDevInfo,
    (vx_any_fn)VX_SetDevName,
    (vx_any_fn)VX_GetDevName,
    (vx_any_fn)VX_GetDevUID,
    (vx_any_fn)VX_GetDevUUID,
    (vx_any_fn)VX_GetDevVID,
    (vx_any_fn)VX_GetDevDID,
    (vx_any_fn)VX_SetDevTime,
    (vx_any_fn)VX_SetDevTimeCfg,
    (vx_any_fn)VX_GetDevTimeCfg,
    (vx_any_fn)VX_GetDevTime,
    (vx_any_fn)VX_SetDevUser,
    (vx_any_fn)VX_GetDevUser,
    (vx_any_fn)VX_GetBatVal,
    (vx_any_fn)VX_GetMasterVEInfo,
    (vx_any_fn)VX_GetSlaveVEInfo,
    (vx_any_fn)VX_SetRecordPwd,
    (vx_any_fn)VX_GetRecordPwd,
    (vx_any_fn)VX_SetApn,
    (vx_any_fn)VX_GetApn,
    (vx_any_fn)VX_SetVpn,
    (vx_any_fn)VX_GetVpn,
    (vx_any_fn)VX_SetServAddr,
    (vx_any_fn)VX_GetServAddr,
    (vx_any_fn)VX_SetDevSSID,
    (vx_any_fn)VX_GetDevSSID,
    (vx_any_fn)VX_AddAp,
    (vx_any_fn)VX_DelAp,
    (vx_any_fn)VX_DelAllAp,
    (vx_any_fn)VX_SetSelAp,
    (vx_any_fn)VX_GetSelAp,
    (vx_any_fn)VX_GetApList,
    (vx_any_fn)VX_SetDevUDiskAuthEn,
    (vx_any_fn)VX_GetDevUDiskAuthEn,
    (vx_any_fn)VX_SetDevPFPTTEn,
    (vx_any_fn)VX_GetDevPFPTTEn,
    (vx_any_fn)VX_SetDevReportTime,
    (vx_any_fn)VX_GetDevReportTime,
    (vx_any_fn)VX_SetDevGpsEn,
    (vx_any_fn)VX_GetDevGpsEn,
    (vx_any_fn)VX_SetTalkBackCfg,
    (vx_any_fn)VX_GetTalkBackCfg,
    (vx_any_fn)VX_SetGb28181Cfg,
    (vx_any_fn)VX_GetGb28181Cfg,
    (vx_any_fn)VX_SetGpsServCfg,
    (vx_any_fn)VX_GetGpsServCfg,
    (vx_any_fn)VX_SetCmsv6Cfg,
    (vx_any_fn)VX_GetCmsv6Cfg,
    (vx_any_fn)VX_SetPtytCfg,
    (vx_any_fn)VX_GetPtytCfg,
    (vx_any_fn)VX_Set0787Serv01Cfg,
    (vx_any_fn)VX_Get0787Serv01Cfg,
    (vx_any_fn)VX_SetLBSCfg,
    (vx_any_fn)VX_GetLBSCfg,
    (vx_any_fn)VX_SetNetCheckServCfg,
    (vx_any_fn)VX_GetNetCheckServCfg,
    (vx_any_fn)VX_EnterDiskMode,
    (vx_any_fn)VX_FormatUdisk,
    (vx_any_fn)VX_FReset,
    (vx_any_fn)VX_SetDevLogLevel,
    (vx_any_fn)VX_GetDevLogLevel,
    (vx_any_fn)VX_ExportDevLog,
    (vx_any_fn)VX_CtrlReboot,
    (vx_any_fn)VX_CtrlPowerOff,
    (vx_any_fn)VX_CtrlPowerSave,
    (vx_any_fn)VX_SetVideoOsd,
    (vx_any_fn)VX_GetVideoOsd,
    (vx_any_fn)VX_SetDataPthread,
    (vx_any_fn)VX_SendDataPack,
    (vx_any_fn)VX_SendUserCmd,
    (vx_any_fn)VX_DevCfgIniStr,
    (vx_any_fn)VX_DevCfgJsonStr,
    (vx_any_fn)VX_UmsIniStr2IniCmd,
    (vx_any_fn)VX_ReleaseUmsIniCmd,
};
const int header_is_c_device_operation_count =
    (int)(sizeof header_is_c_device_operations / sizeof header_is_c_device_operations[0]);

int header_is_c_status(VestraInfo *dev) { return VX_GetErrNo(dev); }
