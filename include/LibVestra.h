/*
 * LibVestra: find, identify and control body-worn video recorders over USB,
 * and turn their encrypted recordings back into playable video.
 *
 * The whole contract of the library is this header. It is plain C.
 *
 * Conventions
 *  - Almost every operation returns 1 for success and 0 for failure; the reason
 *    stays in the device record and is read with VX_GetErrNo / VX_GetErrStr.
 *    Two records keep two independent outcomes.
 *  - Texts are NUL-terminated byte strings in caller-provided areas. Operations
 *    that hand back text without a size argument copy the payload without a
 *    terminator: pass zero-filled areas of VX_TEXT_AREA bytes.
 *  - Records from VX_InitDev / VX_InitDevEx belong to the caller and are given
 *    back with VX_UnInitDev. The library never hands out memory to free.
 *  - No exception or signal crosses this interface.
 */
#ifndef LIBVESTRA_H
#define LIBVESTRA_H

#include <stdint.h>
#include <stddef.h>

/* Windows: a host imports the functions from LibVestra.dll, through the
 * import library (LibVestra.lib / LibVestra.dll.a) or by GetProcAddress with
 * the undecorated names below. The calling convention is the C default
 * (cdecl). The DLL's export list, LibVestra.def, is generated from this header;
 * define VX_STATIC to use the functions without the import decoration. */
#if defined(_WIN32)
#  if defined(VX_BUILDING_LIBRARY) || defined(VX_STATIC)
#    define VX_API
#  else
#    define VX_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__)
#  define VX_API __attribute__((visibility("default")))
#else
#  define VX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes of the texts the library exchanges with its caller. */
#define VX_TEXT_AREA      1024  /* reply payloads, error texts, commands */
#define VX_MODEL_NAME_LEN 8     /* model name, at most 7 characters */
#define VX_ID_CODE_LEN    8     /* ID code, at most 7 characters */
#define VX_LOGIN_ID_LEN   36    /* login ID, at most 35 characters */
#define VX_SERIAL_LEN     16
#define VX_AP_LIST_AREA   2048  /* VX_GetApList's output */
#define VX_USER_REPLY_AREA 4096 /* VX_SendUserCmd's reply output */
#define VX_DATA_PACK_MAX  76800 /* largest data pack VX_SendDataPack sends */

/* Status numbers left in a record by the last operation on it. */
#define VX_STATUS_OK              1    /* the device answered OK and its data was understood */
#define VX_STATUS_FAILED          0    /* missing, incomplete or refused reply: the error text holds it */
#define VX_STATUS_NOT_OPEN      (-101) /* "Device not Open" */
#define VX_STATUS_NO_LOGIN      (-102) /* "No Login Device" */
#define VX_STATUS_SET_CONFIG    (-106) /* setting the USB configuration failed */
#define VX_STATUS_CLAIM_IFACE   (-107) /* claiming the USB interface failed */
/* Outcomes of the access-point operations, reported with result 1 (the
 * device answered OK, but did not confirm or had nothing to report). */
#define VX_STATUS_AP_NOT_DELETED (-110) /* VX_DelAp / VX_DelAllAp: name not echoed */
#define VX_STATUS_AP_NOT_SELECTED (-111) /* VX_SetSelAp: name not echoed */
#define VX_STATUS_AP_EMPTY_SEL  (-112) /* VX_GetSelAp: nothing selected */
#define VX_STATUS_AP_EMPTY_LIST (-113) /* VX_GetApList: no access point */

/* Log modes for VX_SetLibLog: bit 1 writes the file beside the host
 * executable, bit 2 prints on standard output when bit 1 is clear. */
#define VX_LOG_OFF     0
#define VX_LOG_FILE    1
#define VX_LOG_CONSOLE 2

/* One supported recorder model: its USB ids and how it is talked to. */
typedef struct DevModel {
    uint32_t vendorId;
    uint32_t productId;
    uint32_t configuration;
    uint32_t interfaceNo;
    uint32_t bulkIn;
    uint32_t bulkOut;
    char     name[VX_MODEL_NAME_LEN];
} DevModel;

/* The device record every device operation takes as its handle. */
typedef struct VestraInfo {
    void    *usbHandle;          /* opaque; null while the device is not open */
    int32_t  devNum;             /* bus device number; -1 after a close */
    DevModel model;              /* copy of the model's table row */
    int32_t  isLogin;            /* 1 after a successful login */
    int32_t  udiskStatus;
    int32_t  newDevFlag;
    char     serial[VX_SERIAL_LEN];
    char     idCode[VX_ID_CODE_LEN];
    int32_t  errNo;              /* status number of the last operation */
    char     lastCmd[VX_TEXT_AREA];
    char     errStr[VX_TEXT_AREA];
    uint8_t  extraFlags[16];     /* the host's own flag bytes */
    uint16_t busProductId;
    uint16_t busVendorId;
    int32_t  lastBatteryQuery;   /* milliseconds since process start */
} VestraInfo;

/* ---- State and error reporting ------------------------------------------ */
VX_API int32_t     VX_GetErrNo(VestraInfo *dev);
VX_API char       *VX_GetErrStr(VestraInfo *dev);
VX_API VestraInfo *VX_GetGBDev(void);

/* ---- Log settings -------------------------------------------------------- */
VX_API void VX_SetLibLog(int32_t mode);
VX_API void VX_SetLibLogSize(int32_t bytes);

/* ---- Probe, open and identify -------------------------------------------- */
VX_API uint32_t    VX_CheckDevExist(void);
VX_API uint32_t    VX_ProbeDev(char *modelName);
VX_API uint32_t    VX_ProbeDevEx(char *idCode);
VX_API VestraInfo *VX_InitDev(const char *modelName);
VX_API VestraInfo *VX_InitDevEx(const char *idCode);
VX_API uint32_t    VX_CheckDevHandle(VestraInfo *dev);
VX_API uint32_t    VX_GetIDCode(VestraInfo *dev, char *idCode);

/* ---- Login, logout and release ------------------------------------------- */
VX_API int32_t  VX_IsLogin(VestraInfo *dev);
VX_API uint32_t VX_Login(VestraInfo *dev, const char *password);
VX_API uint32_t VX_LoginEx(VestraInfo *dev, const char *user, const char *password);
VX_API uint32_t VX_GetLoginID(VestraInfo *dev, char *loginId);
VX_API uint32_t VX_LoginIDPwd(VestraInfo *dev, const char *password);
VX_API uint32_t VX_Logout(VestraInfo *dev);
VX_API void     VX_UnInitDev(VestraInfo *dev);
VX_API void     VX_UnInitDevEx(VestraInfo *dev);

/* ---- Device list and hot-plug monitor ------------------------------------
 * The library keeps up to VX_LIST_SLOTS attached recorders in slots of its
 * own; a slot's record is the handle for every device operation (do not pass
 * it to VX_UnInitDev). Slots are filled lowest-first and never compacted. */
#define VX_LIST_SLOTS 50
#define VX_EXTRA_FLAGS 16

/* One in-use slot, as VX_GetDevAllListInfoFromList writes it. 64 bytes where
 * pointers are 4 bytes; elsewhere the handle widens to a pointer and the other
 * fields follow in the same order. */
typedef struct DevListInfo {
    VestraInfo *handle;              /* the slot's record */
    int32_t     index;               /* slot index, 0 to 49 */
    int32_t     devNum;              /* USB device number */
    int32_t     udiskStatus;
    int32_t     newDevFlag;
    char        serial[VX_SERIAL_LEN];
    char        idCode[VX_ID_CODE_LEN];
    uint8_t     extraFlags[VX_EXTRA_FLAGS];
    uint16_t    busProductId;
    uint16_t    busVendorId;
} DevListInfo;

/* Compile-time layout checks (C89-compatible: a negative array size fails). */
typedef char VX_DevListInfoLayoutCheck[
    (sizeof(void *) == 4 ? sizeof(DevListInfo) == 64 && offsetof(DevListInfo, serial) == 20 &&
                               offsetof(DevListInfo, busVendorId) == 62
                         : offsetof(DevListInfo, index) == sizeof(void *) &&
                               offsetof(DevListInfo, serial) == sizeof(void *) + 16 &&
                               offsetof(DevListInfo, busVendorId) == sizeof(void *) + 58)
        ? 1 : -1];

/* The host's callback: kind 1, the list changed (value = number of in-use
 * slots); kind 2, a refresh caused by a device event ran (value 1 arrival,
 * 2 removal). It runs on the refresh thread; after an event it runs with the
 * library lock held, so it may call the library but must not wait for another
 * thread that calls it. */
typedef void (*DevListCallback)(int32_t kind, int32_t value);

VX_API int32_t     VX_GetDevListSum(void);
VX_API uint32_t    VX_GetDevListIsUpdate(void);
VX_API void        VX_ListEnterCriticalSection(void);
VX_API void        VX_ListLeaveCriticalSection(void);
/* Index rules differ: serial, U-disk status and handle accept 0 to 49 whether
 * or not the slot is in use; the ID code only indexes below VX_GetDevListSum. */
VX_API uint32_t    VX_GetDevSNFromList(int32_t index, char *serial);
VX_API uint32_t    VX_GetDevIDCodeFromList(int32_t index, char *idCode);
VX_API uint32_t    VX_GetUdiskStatuFromList(int32_t index, int32_t *status);
VX_API uint32_t    VX_GetDevIdxFromList(const char *serial, int32_t *index);
VX_API VestraInfo *VX_GetDevHandleFromList(int32_t index);
VX_API uint32_t    VX_GetDevAllListInfoFromList(DevListInfo *out, int32_t maxCount);
VX_API uint32_t    VX_SetNewDevFlagToList(VestraInfo *dev, int32_t value);
VX_API uint32_t    VX_GetNewDevFlagFromList(VestraInfo *dev, int32_t *value);
VX_API uint32_t    VX_SetExFlagToList(VestraInfo *dev, uint32_t flag, uint8_t value);
VX_API uint32_t    VX_GetExFlagFromList(VestraInfo *dev, uint32_t flag, uint8_t *value);

/* Starts the monitor (device events, crash dumps) and the refresh thread that
 * keeps the list current; only the first start of either form does anything,
 * and the threads run until the process ends. */
VX_API void     VX_InitDevListPthreadEx(DevListCallback callback);
/* Starts the monitor only: the host updates the list with VX_InitDevList. */
VX_API void     VX_InitDevListPthread(void);
/* One list update: 1 if a slot was closed or filled. */
VX_API uint32_t VX_InitDevList(void);
/* Logs out and closes every listed recorder and clears the list. */
VX_API void     VX_UnInitDevList(void);
/* Asks the recorder for its U-disk status (no login; the password is unused). */
VX_API uint32_t VX_GetUdiskStatu(VestraInfo *dev, const char *password, int32_t *status);

/* ---- Raw command --------------------------------------------------------- */
/* Sends the command line unchanged (include its "\r\n"); the device's whole
 * reply is left in VX_GetErrStr(dev) whatever the result. */
VX_API uint32_t VX_Cmd(VestraInfo *dev, const char *password, const char *command);

/* ---- Device operations ----------------------------------------------------
 * Every operation below takes the record and the login password (used only
 * when the record is not logged in yet: the library logs in first), sends
 * one command, reads one reply and returns 1 (status 1, or the special status
 * named) or 0 (status 0 and the device's reply as error text; -101 record not
 * open; -102 login refused). Text outputs without a size get the payload
 * without a terminator: pass zero-filled areas of VX_TEXT_AREA bytes. Null
 * input texts are sent as empty texts. A command that would not fit its area
 * is refused without being sent (status 0, error text says why). */

/* The 94-byte identity record of the national recorder standard. */
typedef struct ZFYInfo {
    char serial[8];    /* at most 7 characters */
    char userNo[7];
    char userName[33];
    char unitNo[13];
    char unitName[33];
} ZFYInfo;

/* -- Identity, clock, account, device information -- */
/* "VX+GBCFG?": the five fields into info (zeroed first once the device said OK). */
VX_API uint32_t VX_GetDevInfo(VestraInfo *dev, const char *pwd, ZFYInfo *info);
/* "VX+GBCFG=serial,userNo,userName,unitNo,unitName". */
VX_API uint32_t VX_SetDevInfo(VestraInfo *dev, const char *pwd, const ZFYInfo *info);
/* "VX+DEVNAME=name". */
VX_API uint32_t VX_SetDevName(VestraInfo *dev, const char *pwd, const char *name);
/* "VX+DEVNAME?": the name into name (raw payload). */
VX_API uint32_t VX_GetDevName(VestraInfo *dev, const char *pwd, char *name);
/* "VX+UID?", "VX+UUID?", "VX+VID?", "VX+DID?": the identifier (raw payload). */
VX_API uint32_t VX_GetDevUID(VestraInfo *dev, const char *pwd, char *uid);
VX_API uint32_t VX_GetDevUUID(VestraInfo *dev, const char *pwd, char *uuid);
VX_API uint32_t VX_GetDevVID(VestraInfo *dev, const char *pwd, char *vid);
VX_API uint32_t VX_GetDevDID(VestraInfo *dev, const char *pwd, char *did);
/* "VX+SYSTIME=YYYYMMDDhhmmss" with the host's current UTC time. */
VX_API uint32_t VX_SetDevTime(VestraInfo *dev, const char *pwd);
/* "VX+SYSTIME=<UTC now>,0,value,text". */
VX_API uint32_t VX_SetDevTimeCfg(VestraInfo *dev, const char *pwd, int32_t value, const char *text);
/* "VX+SYSTIME?": time text (terminated), second and third numbers, fourth text. */
VX_API uint32_t VX_GetDevTimeCfg(VestraInfo *dev, const char *pwd, char *time, uint32_t *second,
                                 uint32_t *third, char *fourth);
/* "VX+SYSTIME?": the time text only. */
VX_API uint32_t VX_GetDevTime(VestraInfo *dev, const char *pwd, char *time);
/* "VX+USER=user:<digest 1>:<digest 2>" (a 32-character password is sent as
 * is, any other as its MD5 digest in upper-case hex). */
VX_API uint32_t VX_SetDevUser(VestraInfo *dev, const char *pwd, const char *user,
                              const char *password1, const char *password2);
/* "VX+USER?": the account text (raw payload). */
VX_API uint32_t VX_GetDevUser(VestraInfo *dev, const char *pwd, char *user);
/* "VX+BATVAL?": the level. Asked at most once in 20 s per record: a call
 * within 20 s of the last one asked (or of the record's entry into the device
 * list) returns 0 at once, sending nothing and changing no status. */
VX_API uint32_t VX_GetBatVal(VestraInfo *dev, const char *pwd, uint32_t *level);
/* "VX+MVEINFO?" / "VX+SVEINFO?": width and height (from "WxH"), then two numbers. */
VX_API uint32_t VX_GetMasterVEInfo(VestraInfo *dev, const char *pwd, uint32_t *width,
                                   uint32_t *height, uint32_t *third, uint32_t *fourth);
VX_API uint32_t VX_GetSlaveVEInfo(VestraInfo *dev, const char *pwd, uint32_t *width,
                                  uint32_t *height, uint32_t *third, uint32_t *fourth);
/* "VX+RECVPWD=value". */
VX_API uint32_t VX_SetRecordPwd(VestraInfo *dev, const char *pwd, int32_t value);
/* "VX+RECVPWD?": the recording password as text (raw payload). */
VX_API uint32_t VX_GetRecordPwd(VestraInfo *dev, const char *pwd, char *value);

/* -- Network, Wi-Fi access points, switches -- */
/* "VX+APN=apn" ("NULL" for an empty text); 32 characters or more are refused. */
VX_API uint32_t VX_SetApn(VestraInfo *dev, const char *pwd, const char *apn);
/* "VX+APN?": the APN as the device sends it (raw payload). */
VX_API uint32_t VX_GetApn(VestraInfo *dev, const char *pwd, char *apn);
/* "VX+VPN=a,b,c" ("NULL" for empty texts); 32 characters or more are refused. */
VX_API uint32_t VX_SetVpn(VestraInfo *dev, const char *pwd, const char *first, const char *second,
                          const char *third);
/* "VX+VPN?": three terminated texts; a field "NULL" leaves its output untouched. */
VX_API uint32_t VX_GetVpn(VestraInfo *dev, const char *pwd, char *first, char *second, char *third);
/* "VX+SERVADDR=address:port". */
VX_API uint32_t VX_SetServAddr(VestraInfo *dev, const char *pwd, const char *address, int32_t port);
/* "VX+SERVADDR?": address (terminated) and port from "address,port". */
VX_API uint32_t VX_GetServAddr(VestraInfo *dev, const char *pwd, char *address, uint32_t *port);
/* "VX+SSID=ssid" / "VX+SSID?" (raw payload). */
VX_API uint32_t VX_SetDevSSID(VestraInfo *dev, const char *pwd, const char *ssid);
VX_API uint32_t VX_GetDevSSID(VestraInfo *dev, const char *pwd, char *ssid);
/* "VX+APADD=ssid:password". */
VX_API uint32_t VX_AddAp(VestraInfo *dev, const char *pwd, const char *ssid, const char *password);
/* "VX+APDEL=ssid": status 1 when "+APDEL:" echoes the name, else -110 (result 1). */
VX_API uint32_t VX_DelAp(VestraInfo *dev, const char *pwd, const char *ssid);
/* "VX+APDEL=ALL": status 1 when "+APDEL:" echoes ALL, else -110 (result 1). */
VX_API uint32_t VX_DelAllAp(VestraInfo *dev, const char *pwd);
/* "VX+APSEL=ssid": status 1 when "+APSEL:" echoes the name, else -111 (result 1). */
VX_API uint32_t VX_SetSelAp(VestraInfo *dev, const char *pwd, const char *ssid);
/* "VX+APSEL?": the selected name from "+APSEL:" (or "+APLIST:"); empty: -112 (result 1). */
VX_API uint32_t VX_GetSelAp(VestraInfo *dev, const char *pwd, char *ssid);
/* "VX+APLIST?": the list as the device sends it into VX_AP_LIST_AREA bytes;
 * empty: -113 (result 1). */
VX_API uint32_t VX_GetApList(VestraInfo *dev, const char *pwd, char *list);
/* Switches: "VX+UDISKAUTHEN", "VX+PFPTTEN", "VX+SERVHEARTBEAT", "VX+GPSEN";
 * set sends the value in decimal, get reads a number. */
VX_API uint32_t VX_SetDevUDiskAuthEn(VestraInfo *dev, const char *pwd, int32_t value);
VX_API uint32_t VX_GetDevUDiskAuthEn(VestraInfo *dev, const char *pwd, uint32_t *value);
VX_API uint32_t VX_SetDevPFPTTEn(VestraInfo *dev, const char *pwd, int32_t value);
VX_API uint32_t VX_GetDevPFPTTEn(VestraInfo *dev, const char *pwd, uint32_t *value);
VX_API uint32_t VX_SetDevReportTime(VestraInfo *dev, const char *pwd, int32_t seconds);
VX_API uint32_t VX_GetDevReportTime(VestraInfo *dev, const char *pwd, uint32_t *seconds);
VX_API uint32_t VX_SetDevGpsEn(VestraInfo *dev, const char *pwd, int32_t value);
VX_API uint32_t VX_GetDevGpsEn(VestraInfo *dev, const char *pwd, uint32_t *value);

/* -- Platform service configurations --
 * Set: "VX+<KEY>=bEnable:<flag>," then "Name:value," for each text given (a
 * null text leaves its pair out), then "ReportTime:<n>," where the family has
 * one. Get: "VX+<KEY>?"; each pair is looked up on its own, texts copied
 * without terminator, missing pairs leave their outputs untouched; 1 when at
 * least one pair was read. */
/* "VX+TALKBACKCFG": ServIP, ServPort, DevNo, DevName, DevPasswd. */
VX_API uint32_t VX_SetTalkBackCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                  const char *servIp, const char *servPort, const char *devNo,
                                  const char *devName, const char *devPasswd);
VX_API uint32_t VX_GetTalkBackCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                                  char *servPort, char *devNo, char *devName, char *devPasswd);
/* "VX+GB28181CFG": ServIP, ServPort, DevNo, ChnNo, Chnname, ServID (sent
 * again as Name), Passwd. */
VX_API uint32_t VX_SetGb28181Cfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                 const char *servIp, const char *servPort, const char *devNo,
                                 const char *chnNo, const char *chnName, const char *servId,
                                 const char *passwd);
VX_API uint32_t VX_GetGb28181Cfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                                 char *servPort, char *devNo, char *chnNo, char *chnName,
                                 char *servId, char *passwd);
/* "VX+GPSSERVCFG": ServIP, ServPort, DevNo, Passwd, ReportTime. */
VX_API uint32_t VX_SetGpsServCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                 const char *servIp, const char *servPort, const char *devNo,
                                 const char *passwd, int32_t reportTime);
VX_API uint32_t VX_GetGpsServCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                                 char *servPort, char *devNo, char *passwd, uint32_t *reportTime);
/* "VX+CMSV6CFG": ServIP, ServPort, DevNo, ReportTime (sent only when > 0). */
VX_API uint32_t VX_SetCmsv6Cfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                               const char *servIp, const char *servPort, const char *devNo,
                               int32_t reportTime);
VX_API uint32_t VX_GetCmsv6Cfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                               char *servPort, char *devNo, uint32_t *reportTime);
/* "VX+PTYTCFG": ServIP, ServPort, DevNo, DevName, DevPasswd, ReportTime. */
VX_API uint32_t VX_SetPtytCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                              const char *servIp, const char *servPort, const char *devNo,
                              const char *devName, const char *devPasswd, int32_t reportTime);
VX_API uint32_t VX_GetPtytCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                              char *servPort, char *devNo, char *devName, char *devPasswd,
                              uint32_t *reportTime);
/* "VX+0787SERV01CFG": ServIP, ServPort, DevNo, Passwd, ReportTime. */
VX_API uint32_t VX_Set0787Serv01Cfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                    const char *servIp, const char *servPort, const char *devNo,
                                    const char *passwd, int32_t reportTime);
VX_API uint32_t VX_Get0787Serv01Cfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable,
                                    char *servIp, char *servPort, char *devNo, char *passwd,
                                    uint32_t *reportTime);
/* "VX+LBSCFG": LoginUrl, DevPasswd, ReportTime. */
VX_API uint32_t VX_SetLBSCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                             const char *loginUrl, const char *devPasswd, int32_t reportTime);
VX_API uint32_t VX_GetLBSCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *loginUrl,
                             char *devPasswd, uint32_t *reportTime);
/* "VX+DIAGNOSTICCFG": ServIP, ServPort. */
VX_API uint32_t VX_SetNetCheckServCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                      const char *servIp, const char *servPort);
VX_API uint32_t VX_GetNetCheckServCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable,
                                      char *servIp, char *servPort);

/* -- Storage, power, device logs, OSD -- */
/* "VX+UDISKEN=2": the recorder shows its storage as a USB disk. */
VX_API uint32_t VX_EnterDiskMode(VestraInfo *dev, const char *pwd);
/* "VX+MKFS=FAT32" (type 1) or "VX+MKFS=EXFAT" (type 2); other types send
 * nothing: status 0, error text "fstype Error". */
VX_API uint32_t VX_FormatUdisk(VestraInfo *dev, const char *pwd, int32_t fsType);
/* "VX+FRESET=1": factory settings. */
VX_API uint32_t VX_FReset(VestraInfo *dev, const char *pwd);
/* "VX+LOGLEVEL=level" / "VX+LOGLEVEL?" (number). */
VX_API uint32_t VX_SetDevLogLevel(VestraInfo *dev, const char *pwd, int32_t level);
VX_API uint32_t VX_GetDevLogLevel(VestraInfo *dev, const char *pwd, uint32_t *level);
/* "VX+LOGEXPORT": the recorder exports its own log. */
VX_API uint32_t VX_ExportDevLog(VestraInfo *dev, const char *pwd);
/* "VX+POWEROFF=2" (logs "CtrlReboot[serial]"), "VX+POWEROFF=1", "VX+POWERSAVE=1". */
VX_API uint32_t VX_CtrlReboot(VestraInfo *dev, const char *pwd);
VX_API uint32_t VX_CtrlPowerOff(VestraInfo *dev, const char *pwd);
VX_API uint32_t VX_CtrlPowerSave(VestraInfo *dev, const char *pwd);
/* "VX+VIDEOOSD<index>=value,text". */
VX_API uint32_t VX_SetVideoOsd(VestraInfo *dev, const char *pwd, int32_t index, int32_t value,
                               const char *text);
/* "VX+VIDEOOSD<index>?": the value, and the text from "+VIDEOOSD<index>:<v>,"
 * into text: at most size - 1 characters, zero-padded to size - 1, the last
 * byte never written. size 0 is refused (status 0, nothing written). */
VX_API uint32_t VX_GetVideoOsd(VestraInfo *dev, const char *pwd, int32_t index, uint32_t *value,
                               char *text, uint32_t size);

/* -- Data channel, raw device commands -- */
/* "VX+DATAPTHREAD=value": needs "+DATAPTHREAD:" in the reply. */
VX_API uint32_t VX_SetDataPthread(VestraInfo *dev, const char *pwd, int32_t value);
/* "VX+BASE64=pack,<Base64 of data>" (length 0 sends the Base64 of "NULL"):
 * needs "+BASE64:" echoing the pack number. At most VX_DATA_PACK_MAX bytes;
 * more, a negative length or null data are refused without sending. */
VX_API uint32_t VX_SendDataPack(VestraInfo *dev, const char *pwd, int32_t pack,
                                const uint8_t *data, int32_t length);
/* The caller's "VX+..." line, cut at its first CR or LF (written into cmd),
 * with "\r\n". On success the whole reply goes into reply (VX_USER_REPLY_AREA
 * bytes) and the error text. Not starting "VX+": status 0, "cmd error". */
VX_API uint32_t VX_SendUserCmd(VestraInfo *dev, const char *pwd, char *cmd, char *reply);

/* -- Configuration text (INI and JSON) -- */
/* "VX+UMSINI=text" / "VX+UMSJSON=text": the payload behind "+UMSINI:" /
 * "+UMSJSON:" into answer (no terminator written) when it is shorter than
 * size. The reply is read to its "OK" or "Error:" line as every reply, and
 * taken either way: only the key and its payload decide. */
VX_API uint32_t VX_DevCfgIniStr(VestraInfo *dev, const char *pwd, const char *text, char *answer,
                                int32_t size);
VX_API uint32_t VX_DevCfgJsonStr(VestraInfo *dev, const char *pwd, const char *text, char *answer,
                                 int32_t size);

#define VX_INI_ITEMS    16
#define VX_INI_NAME_LEN 32

/* One entry of an INI command text. */
typedef struct UmsIniItem {
    int32_t kind;                     /* 2: valueText holds a value; 0: none */
    char    keyName[VX_INI_NAME_LEN]; /* at most 31 characters (longer keys are cut) */
    char   *valueText;                /* the library's heap text, or null */
} UmsIniItem;

/* An INI command text ("Section.Key=value|.Key2=value"), broken up. */
typedef struct UmsIniCmd {
    int32_t    op;                    /* 0 query "=?", 1 set "=", 3 add "+=", 4 remove "-=" */
    int32_t    count;                 /* entries filled */
    char       section[VX_INI_NAME_LEN]; /* section of the first entry */
    UmsIniItem items[VX_INI_ITEMS];
} UmsIniCmd;

/* Parses text (spaces removed) into cmd, which the caller zero-fills before
 * the first use; a record passed again continues at its count. Returns 1 when
 * at least one entry was filled; 0 when none was, or cmd is already full
 * (nothing is written then). No device, no lock. */
VX_API uint32_t VX_UmsIniStr2IniCmd(const char *text, UmsIniCmd *cmd);
/* Releases the value texts of cmd and clears their pointers (cmd itself stays
 * the caller's). */
VX_API void VX_ReleaseUmsIniCmd(UmsIniCmd *cmd);

/* ---- National-standard recorder interface ---------------------------------
 * The function set of the national recorder standard, on one library-owned
 * record (VX_GetGBDev) opened through its own model table. Call Init_Device
 * (or GetIDCode) first, then the operations with the login password (the
 * fixed user "admin" is logged in automatically), UnInit_Device or
 * Release_Device last. Results: 1 success, 0 failure; the reason is written
 * through status:
 *   1 done                 2 no device (not open, cannot be opened, other ID
 *   4 login failed           code; for ReadDeviceResolution and
 *   5 clock set              ReadDeviceBatteryDumpEnergy also a refused or
 *   6 clock refused          unreadable reply)
 *   7 U-disk mode entered  8 U-disk mode refused   9 no ID code given
 * GetZFYInfo and WriteZFYInfo leave status unwritten when the device refuses.
 * Every call takes the library lock, so the set is safe beside the device
 * list's monitor; the record's own status number is never changed. */
#define VX_GB_DONE          1
#define VX_GB_NO_DEVICE     2
#define VX_GB_LOGIN_FAILED  4
#define VX_GB_CLOCK_SET     5
#define VX_GB_CLOCK_REFUSED 6
#define VX_GB_DISK_MODE     7
#define VX_GB_DISK_REFUSED  8
#define VX_GB_NO_ID_CODE    9

/* Opens the first attached recorder of the standard's model table. idCode:
 * "KQWZM" to check it, or an empty text (6 bytes) to receive it; null: 9.
 * Status 1, 2 or 9. */
VX_API int32_t Init_Device(char *idCode, int32_t *status);
/* The ID code of the open recorder (opening it first if needed) into idCode
 * (at least 6 bytes). Status 1 or 2. */
VX_API int32_t GetIDCode(char *idCode, int32_t *status);
/* "VX+GBCFG?": the identity into info (zeroed once the device said OK), also
 * kept for WriteZFYInfo. Status 1, 2, 4. */
VX_API int32_t GetZFYInfo(ZFYInfo *info, const char *password, int32_t *status);
/* "VX+GBCFG=...": an empty serial sends the one the last GetZFYInfo read.
 * Status 1, 2, 4. */
VX_API int32_t WriteZFYInfo(const ZFYInfo *info, const char *password, int32_t *status);
/* "VX+SYSTIME=<UTC now>". Status 5, 6, 2, 4. */
VX_API int32_t SyncDevTime(const char *password, int32_t *status);
/* "VX+UDISKEN=2", then the record is logged out and closed. Status 7, 8, 2, 4. */
VX_API int32_t SetMSDC(const char *password, int32_t *status);
/* "VX+MVEINFO?": width and height of the main stream. Status 1, 2, 4. */
VX_API int32_t ReadDeviceResolution(int32_t *width, int32_t *height, const char *password,
                                    int32_t *status);
/* "VX+BATVAL?": the battery level. Status 1, 2, 4. */
VX_API int32_t ReadDeviceBatteryDumpEnergy(int32_t *level, const char *password, int32_t *status);
/* "VX+LOGOUT" (nothing is sent when closed), then closes and clears the
 * record. Status 1; returns 1. */
VX_API int32_t UnInit_Device(int32_t *status);
/* As UnInit_Device; returns 1. */
VX_API int32_t Release_Device(int32_t *status);

/* ---- Standard-mode maintenance commands ----------------------------------
 * For recorders of model VX005 only, chosen by a serial text: the first whose
 * USB serial (the part before "_") contains it; an empty text takes the
 * first with a readable serial. Each call opens its own record, logs in as
 * "admin", does its job, logs out and releases the record. After
 * GBCmd_InitCriticalSection the calls are serialised by a lock of their own;
 * they always take the library lock for the bus and the device. Results: 1
 * success, 0 failure; status: */
#define VX_GBCMD_DONE           0    /* done */
#define VX_GBCMD_NO_RECORDER  (-1)   /* no VX005 with a matching readable serial */
#define VX_GBCMD_LOGIN_REFUSED (-2)  /* the recorder refused the login */
#define VX_GBCMD_NOT_DELIVERED (-3)  /* a shell line could not be written */
#define VX_GBCMD_CLAIM_FAILED (-4)   /* configuration or interface claim failed */
#define VX_GBCMD_NO_MEMORY    (-5)
#define VX_GBCMD_BATTERY_REFUSED (-6) /* the battery query was refused or unreadable */
#define VX_GBCMD_NOT_SUPPORTED (-7)  /* standby */

VX_API void    GBCmd_InitCriticalSection(void);
VX_API void    GBCmd_UnInitCriticalSection(void);
/* "VX+BATVAL?": the level. Status 0, -1, -2, -4, -5, -6. */
VX_API int32_t GBCmd_GetBatteryVal(const char *serial, const char *password, uint32_t *level,
                                   int32_t *status);
/* Two "VX+SYSCMD=<Base64 shell line>" lines 300 ms apart, no reply read; the
 * recorder then leaves the bus. Status 0, -1, -2, -3, -4, -5. */
VX_API int32_t GBCmd_EnterDownLoadMode(const char *serial, const char *password, int32_t *status);
/* One "VX+SYSCMD=<Base64 shell line>" that switches the recorder off.
 * Status 0, -1, -2, -3, -4, -5. */
VX_API int32_t GBCmd_PowerOff(const char *serial, const char *password, int32_t *status);
/* Not supported: status -7, result 0, nothing sent. */
VX_API int32_t GBCmd_EnterStandByMode(const char *serial, const char *password, int32_t *status);

/* ---- Recording decryption (no device, no lock) --------------------------- */
/* Key text: at most 8 characters, zero-extended to the 8-byte DES key; a
 * longer text is refused. A wrong key is not detected (frames decrypt to
 * noise). Progress and failures go to the library log only. */

/* Copies the encrypted AVI recording inPath to outPath (replaced if present;
 * must be another file) and decrypts the copy: its marker byte becomes 0 and
 * bytes 24..279 of every indexed key frame are decrypted. Returns 1 when at
 * least one frame was decrypted. 0 otherwise: a plain copy is left when the
 * input is not encrypted; no output is left when no key frame could be
 * decrypted or a key frame runs past the end of the file. inPath is never
 * modified. Paths are in the system's narrow code page. */
VX_API int32_t VX_FileDecrypt(const char *inPath, const char *outPath, const char *keyText);

/* Decrypts one encrypted key frame (the data of one video chunk, without its
 * 8-byte header) into out (at least length bytes; may be frame itself).
 * The frame must hold at least 280 bytes and start 00 00 00 01 67 (H.264) or
 * 00 00 00 01 46 (H.265). Returns 1 when out holds the plain frame, else 0
 * with out untouched. */
VX_API int32_t VX_FrameDecrypt(const uint8_t *frame, int32_t length, uint8_t *out,
                               const char *keyText);

/* ---- Time zones (no device, no lock) ------------------------------------- */
/* A fixed catalogue of 415 IANA time zones (Region/Location), grouped by
 * region and ISO 3166 country code. Indexes are stable: rows never move.
 * The block is little-endian: signed 32-bit indexes, zero-padded names.
 * Filled slots come first; empty slots are zero in every byte. */
#define VX_TZ_REGIONS        9
#define VX_TZ_COUNTRY_SLOTS  54
#define VX_TZ_ZONE_SLOTS     32
#define VX_TZ_BLOCK_SIZE     511416
#define VX_TZ_TEXT_MIN       64   /* room GetTimeZoneStr needs in its output */

typedef struct TimeZoneCity {      /* 32 bytes */
    int32_t index;
    char    location[28];          /* "Kolkata", "Argentina/Buenos_Aires" */
} TimeZoneCity;

typedef struct TimeZoneCountry {   /* 1052 bytes */
    int32_t      index;
    char         code[24];         /* ISO 3166 two-letter code */
    TimeZoneCity cities[VX_TZ_ZONE_SLOTS];
} TimeZoneCountry;

typedef struct TimeZoneRegion {    /* 56824 bytes */
    int32_t         index;
    char            name[12];      /* "Asia", "America", ... */
    TimeZoneCountry countries[VX_TZ_COUNTRY_SLOTS];
} TimeZoneRegion;

/* Copies the whole catalogue (VX_TZ_BLOCK_SIZE bytes, i.e. VX_TZ_REGIONS
 * TimeZoneRegion records) to dest. A null dest is ignored. */
VX_API void GetAllTimeZone(void *dest);

/* Writes "code/Region/Location" for the three indexes into out (at least
 * VX_TZ_TEXT_MIN bytes) and returns 1. Returns 0, out untouched, when an index
 * is outside its slot range or out is null. Empty slots are not refused: they
 * give empty parts, e.g. "/Antarctica/" for (3, 1, 0). */
VX_API int32_t GetTimeZoneStr(int32_t region, int32_t country, int32_t city, char *out);

/* Finds a "Region/Location" name (exact, case-sensitive; the first match in
 * catalogue order wins). Returns 1 with the three indexes when found. On
 * failure returns 0 and leaves region -1 (or the region found), country -1
 * and city 1. Returns 0 when name or an output pointer is null. */
VX_API int32_t GetTimeZoneIndex(const char *name, int32_t *region, int32_t *country,
                                int32_t *city);

#ifdef __cplusplus
}
#endif

#endif /* LIBVESTRA_H */
