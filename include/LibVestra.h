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

#if defined(_WIN32)
#  if defined(VX_BUILDING_LIBRARY)
#    define VX_API __declspec(dllexport)
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

/* Status numbers left in a record by the last operation on it. */
#define VX_STATUS_OK              1    /* the device answered OK and its data was understood */
#define VX_STATUS_FAILED          0    /* missing, incomplete or refused reply: the error text holds it */
#define VX_STATUS_NOT_OPEN      (-101) /* "Device not Open" */
#define VX_STATUS_NO_LOGIN      (-102) /* "No Login Device" */
#define VX_STATUS_SET_CONFIG    (-106) /* setting the USB configuration failed */
#define VX_STATUS_CLAIM_IFACE   (-107) /* claiming the USB interface failed */
#define VX_STATUS_AP_NOT_DELETED (-110)
#define VX_STATUS_AP_NOT_SELECTED (-111)
#define VX_STATUS_AP_EMPTY_SEL  (-112)
#define VX_STATUS_AP_EMPTY_LIST (-113)

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
VX_API const char *VX_GetErrStr(VestraInfo *dev);
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

/* ---- Raw command --------------------------------------------------------- */
/* Sends the command line unchanged (include its "\r\n"); the device's whole
 * reply is left in VX_GetErrStr(dev) whatever the result. */
VX_API uint32_t VX_Cmd(VestraInfo *dev, const char *password, const char *command);

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
