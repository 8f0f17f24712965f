// The one list of record operations: for every export over a row, its row,
// the shape of its signature and, where vxctl offers it as a key of `get` /
// `set`, the key's name and label. An X-macro rather than a constexpr table:
// the same list must become function definitions (the exports of a common
// shape, ops/exports.cpp), static checks against the header's declarations,
// the bindings' operation table (python/gen/optable.cpp) and vxctl's key table
// (tools/vxctl/op_table.cpp), and only the preprocessor can make definitions.
//
// A user of the list defines
//   VX_OP(Export, Row, Shape, Cli, Label)
// and includes this file; the entry's fields are, by name:
//   Export  the exported function, as declared in LibVestra.h
//   Row     its row in ops/rows.h (kNoRow: an operation with no row of its own)
//   Shape   the signature kind (below); Hand: written by hand in its family's
//           file, because its body departs from the pattern
//   Cli     vxctl's key ("" when vxctl has none); a get and a set share a key
//   Label   vxctl's help text for the key, given on one of its entries
//
// Shapes made from the list (ops/exports.cpp, one definition each):
//   GetText     (dev, password, char *out)             the row's text into a 1024-byte area
//   GetList     (dev, password, char *out)             the same into a VX_AP_LIST_AREA area
//   GetNumber   (dev, password, uint32_t *out)         the row's number
//   GetEncoder  (dev, password, w, h, third, fourth)   "WxH" and two numbers
//   SetText     (dev, password, const char *text)      the text as the only argument
//   SetNumber   (dev, password, int32_t value)         the number as the only argument
//   Action1     (dev, password)                        the row sent with the number 1
//   Action2     (dev, password)                        the row sent with the number 2
// Entries follow the header's order (the bindings' tables list them so), but
// for the identity record after the identifiers: vxctl lists its keys in this
// order, the name first.
// clang-format off
//    Export                   Row               Shape       Cli            Label
VX_OP(VX_Cmd,                  kNoRow,           Hand,       "",            "")
VX_OP(VX_SetDevName,           kSetDevName,      SetText,    "devname",     "")
VX_OP(VX_GetDevName,           kGetDevName,      GetText,    "devname",     "recorder name")
VX_OP(VX_GetDevUID,            kGetDevUid,       GetText,    "uid",         "UID")
VX_OP(VX_GetDevUUID,           kGetDevUuid,      GetText,    "uuid",        "UUID")
VX_OP(VX_GetDevVID,            kGetDevVid,       GetText,    "vid",         "VID")
VX_OP(VX_GetDevDID,            kGetDevDid,       GetText,    "did",         "DID")
VX_OP(VX_GetDevInfo,           kGetDevInfo,      Hand,       "zfyinfo",     "identity record")
VX_OP(VX_SetDevInfo,           kSetDevInfo,      Hand,       "zfyinfo",     "")
VX_OP(VX_SetDevTime,           kSetDevTime,      Hand,       "",            "")
VX_OP(VX_SetDevTimeCfg,        kSetDevTime,      Hand,       "time",        "")
VX_OP(VX_GetDevTimeCfg,        kGetDevTime,      Hand,       "time",        "clock; set sends the host's UTC time with these")
VX_OP(VX_GetDevTime,           kGetDevTime,      Hand,       "",            "")
VX_OP(VX_SetDevUser,           kSetDevUser,      Hand,       "user",        "")
VX_OP(VX_GetDevUser,           kGetDevUser,      GetText,    "user",        "user account")
VX_OP(VX_GetBatVal,            kGetBatVal,       Hand,       "",            "")
VX_OP(VX_GetBatValNow,         kGetBatVal,       Hand,       "battery",     "battery level, asked at most once in 20 s")
VX_OP(VX_GetMasterVEInfo,      kGetMasterVe,     GetEncoder, "video-main",  "main stream encoder")
VX_OP(VX_GetSlaveVEInfo,       kGetSlaveVe,      GetEncoder, "video-sub",   "sub stream encoder")
VX_OP(VX_SetRecordPwd,         kSetRecordPwd,    SetNumber,  "recpwd",      "")
VX_OP(VX_GetRecordPwd,         kGetRecordPwd,    GetText,    "recpwd",      "recording password")
VX_OP(VX_SetApn,               kSetApn,          SetText,    "apn",         "")
VX_OP(VX_GetApn,               kGetApn,          GetText,    "apn",         "mobile data APN")
VX_OP(VX_SetVpn,               kSetVpn,          Hand,       "vpn",         "")
VX_OP(VX_GetVpn,               kGetVpn,          Hand,       "vpn",         "VPN")
VX_OP(VX_SetServAddr,          kSetServAddr,     Hand,       "servaddr",    "")
VX_OP(VX_GetServAddr,          kGetServAddr,     Hand,       "servaddr",    "management server")
VX_OP(VX_SetDevSSID,           kSetDevSsid,      SetText,    "ssid",        "")
VX_OP(VX_GetDevSSID,           kGetDevSsid,      GetText,    "ssid",        "own Wi-Fi name")
VX_OP(VX_AddAp,                kAddAp,           Hand,       "",            "")
VX_OP(VX_DelAp,                kDelAp,           Hand,       "",            "")
VX_OP(VX_DelAllAp,             kDelAp,           Hand,       "",            "")
VX_OP(VX_SetSelAp,             kSetSelAp,        Hand,       "",            "")
VX_OP(VX_GetSelAp,             kGetSelAp,        GetText,    "",            "")
VX_OP(VX_GetApList,            kGetApList,       GetList,    "",            "")
VX_OP(VX_SetDevUDiskAuthEn,    kSetUDiskAuthEn,  SetNumber,  "udiskauth",   "")
VX_OP(VX_GetDevUDiskAuthEn,    kGetUDiskAuthEn,  GetNumber,  "udiskauth",   "U-disk authentication switch")
VX_OP(VX_SetDevPFPTTEn,        kSetPfpttEn,      SetNumber,  "pfptt",       "")
VX_OP(VX_GetDevPFPTTEn,        kGetPfpttEn,      GetNumber,  "pfptt",       "PFPTT switch")
VX_OP(VX_SetDevReportTime,     kSetReportTime,   SetNumber,  "heartbeat",   "")
VX_OP(VX_GetDevReportTime,     kGetReportTime,   GetNumber,  "heartbeat",   "server heartbeat interval")
VX_OP(VX_SetDevGpsEn,          kSetGpsEn,        SetNumber,  "gps",         "")
VX_OP(VX_GetDevGpsEn,          kGetGpsEn,        GetNumber,  "gps",         "GPS switch")
VX_OP(VX_SetTalkBackCfg,       kSetTalkBack,     Hand,       "",            "")
VX_OP(VX_GetTalkBackCfg,       kGetTalkBack,     Hand,       "",            "")
VX_OP(VX_SetGb28181Cfg,        kSetGb28181,      Hand,       "",            "")
VX_OP(VX_GetGb28181Cfg,        kGetGb28181,      Hand,       "",            "")
VX_OP(VX_SetGpsServCfg,        kSetGpsServ,      Hand,       "",            "")
VX_OP(VX_GetGpsServCfg,        kGetGpsServ,      Hand,       "",            "")
VX_OP(VX_SetCmsv6Cfg,          kSetCmsv6,        Hand,       "",            "")
VX_OP(VX_GetCmsv6Cfg,          kGetCmsv6,        Hand,       "",            "")
VX_OP(VX_SetPtytCfg,           kSetPtyt,         Hand,       "",            "")
VX_OP(VX_GetPtytCfg,           kGetPtyt,         Hand,       "",            "")
VX_OP(VX_Set0787Serv01Cfg,     kSet0787Serv01,   Hand,       "",            "")
VX_OP(VX_Get0787Serv01Cfg,     kGet0787Serv01,   Hand,       "",            "")
VX_OP(VX_SetLBSCfg,            kSetLbs,          Hand,       "",            "")
VX_OP(VX_GetLBSCfg,            kGetLbs,          Hand,       "",            "")
VX_OP(VX_SetNetCheckServCfg,   kSetNetCheck,     Hand,       "",            "")
VX_OP(VX_GetNetCheckServCfg,   kGetNetCheck,     Hand,       "",            "")
VX_OP(VX_EnterDiskMode,        kEnterDiskMode,   Action2,    "",            "")
VX_OP(VX_FormatUdisk,          kFormatUdisk,     Hand,       "",            "")
VX_OP(VX_FReset,               kFReset,          Action1,    "",            "")
VX_OP(VX_SetDevLogLevel,       kSetLogLevel,     SetNumber,  "loglevel",    "")
VX_OP(VX_GetDevLogLevel,       kGetLogLevel,     GetNumber,  "loglevel",    "device log level")
VX_OP(VX_ExportDevLog,         kExportLog,       Hand,       "",            "")
VX_OP(VX_CtrlReboot,           kPowerOff,        Hand,       "",            "")
VX_OP(VX_CtrlPowerOff,         kPowerOff,        Action1,    "",            "")
VX_OP(VX_CtrlPowerSave,        kPowerSave,       Action1,    "",            "")
VX_OP(VX_SetVideoOsd,          kSetVideoOsd,     Hand,       "",            "")
VX_OP(VX_GetVideoOsd,          kGetVideoOsd,     Hand,       "",            "")
VX_OP(VX_SetDataPthread,       kDataPthread,     SetNumber,  "datapthread", "data channel setting")
VX_OP(VX_SendDataPack,         kDataPack,        Hand,       "",            "")
VX_OP(VX_SendUserCmd,          kNoRow,           Hand,       "",            "")
VX_OP(VX_DevCfgIniStr,         kIniText,         Hand,       "",            "")
VX_OP(VX_DevCfgJsonStr,        kJsonText,        Hand,       "",            "")
// clang-format on
