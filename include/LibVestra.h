/**
 * @file LibVestra.h
 * @brief LibVestra: find, identify and control body-worn video recorders over
 * USB, and turn their encrypted recordings back into playable video.
 *
 * The whole contract of the library is this header. It is plain C (C99 and
 * C++ callers alike); the API reference is generated from it.
 *
 * Conventions:
 * - Almost every operation returns 1 for success and 0 for failure; the reason
 *   stays in the device record and is read with VX_GetErrNo() / VX_GetErrStr().
 *   Two records keep two independent outcomes.
 * - Texts are NUL-terminated byte strings in caller-provided areas. Operations
 *   that hand back text without a size argument copy the payload without a
 *   terminator: pass zero-filled areas of #VX_TEXT_AREA bytes.
 * - Records from VX_InitDev() / VX_InitDevEx() belong to the caller and are
 *   given back with VX_UnInitDev(). The library never hands out memory to free.
 * - No exception or signal crosses this interface.
 */
/* The declarations are aligned by hand for reading. */
/* clang-format off */
#ifndef LIBVESTRA_H
#define LIBVESTRA_H

#include <stdint.h>
#include <stddef.h>

/**
 * @def VX_API
 * @ingroup vx_state
 * @brief Marks every exported function of the library.
 *
 * Windows: a host imports the functions from LibVestra.dll, through the
 * import library (LibVestra.lib / LibVestra.dll.a) or by GetProcAddress with
 * the undecorated names of this header. The calling convention is the C
 * default (cdecl). The DLL's export list, LibVestra.def, is generated from this
 * header; define `VX_STATIC` to use the functions without the import
 * decoration. Elsewhere the functions have default visibility.
 */
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

/**
 * @defgroup vx_state State, status numbers and log
 * @brief Sizes of the exchanged texts, the per-record status number and error
 * text, and the library's diagnostic log.
 *
 * Every device operation leaves its outcome in the record it worked on: a
 * status number (VX_GetErrNo()) and an error text (VX_GetErrStr()). After a
 * success the error text still holds whatever an earlier failure left there
 * (VX_Cmd() and VX_SendUserCmd() leave the reply there); read it only when the
 * status number is not 1.
 *
 * The log: one line per event, stamped `[YYYYMMDDhhmmss] ` in local time, at
 * most 1023 characters, written to `LibVestra.log` beside the host executable
 * (the working directory when that cannot be found) or in the folder the host
 * chose with VX_SetLibLogDir(), or to standard output,
 * or nowhere (VX_SetLibLog()). A log larger than the limit (VX_SetLibLogSize())
 * is renamed to `LibVestra.1.log`, replacing the older one, before the next
 * line. Lines of several threads never interleave. Logging never fails an
 * operation. A password or login digest in a logged command or reply shows as
 * asterisks of the same length; a new log is created with no access for
 * others (0640 on Linux), and a symbolic link in its place is not written
 * through.
 * @{
 */

#define VX_TEXT_AREA      1024  /**< Size of reply payload areas, error texts and command lines. */
#define VX_MODEL_NAME_LEN 8     /**< Size of a model name area: at most 7 characters and a NUL. */
#define VX_ID_CODE_LEN    8     /**< Size of an ID code area: at most 7 characters and a NUL. */
#define VX_LOGIN_ID_LEN   36    /**< Size of a login ID area: at most 35 characters and a NUL. */
#define VX_SERIAL_LEN     16    /**< Size of a serial area: at most 15 characters and a NUL. */
#define VX_AP_LIST_AREA   2048  /**< Size of VX_GetApList()'s output area (and of its reply area). */
#define VX_USER_REPLY_AREA 4096 /**< Size of VX_SendUserCmd()'s reply output (and of its reply area). */
#define VX_DATA_PACK_MAX  76800 /**< Largest data pack, in bytes, VX_SendDataPack() sends. */

#define VX_STATUS_OK              1    /**< The device answered OK and its data was understood. Also set by VX_UnInitDev() and VX_UnInitDevList() as they start. */
#define VX_STATUS_FAILED          0    /**< Missing, incomplete or refused reply (the error text holds the reply, empty when nothing came), or a command refused without being sent (the error text says why). */
#define VX_STATUS_NOT_OPEN      (-101) /**< The record is not open; error text "Device not Open". */
#define VX_STATUS_NO_LOGIN      (-102) /**< The record could not be logged in; error text "No Login Device". */
#define VX_STATUS_SET_CONFIG    (-106) /**< Setting the USB configuration failed while the device list opened a recorder; the error text holds `error setting config #n: ...`. */
#define VX_STATUS_CLAIM_IFACE   (-107) /**< Claiming the USB interface failed while the device list opened a recorder; the error text holds `error claiming interface #n: ...`. */
#define VX_STATUS_AP_NOT_DELETED (-110) /**< VX_DelAp() / VX_DelAllAp() (result 1): the device said OK but its "+APDEL:" line does not name the access point (or ALL). */
#define VX_STATUS_AP_NOT_SELECTED (-111) /**< VX_SetSelAp() (result 1): the device said OK but its "+APSEL:" line does not name the access point. */
#define VX_STATUS_AP_EMPTY_SEL  (-112) /**< VX_GetSelAp() (result 1): the device said OK with an empty selection; nothing is copied. */
#define VX_STATUS_AP_EMPTY_LIST (-113) /**< VX_GetApList() (result 1): the device said OK with an empty list; nothing is copied. */

#define VX_LOG_OFF     0  /**< VX_SetLibLog(): no log lines at all. */
#define VX_LOG_FILE    1  /**< VX_SetLibLog() bit: append lines to `LibVestra.log` in the log folder (VX_SetLibLogDir()) (the default mode). */
#define VX_LOG_CONSOLE 2  /**< VX_SetLibLog() bit: print lines on standard output, but only while #VX_LOG_FILE is clear (3 writes the file only). */

/** @} */

/**
 * @defgroup vx_session Discovery and session
 * @brief Supported models, the device record, probing, opening, identifying,
 * logging in and out, and giving records back.
 *
 * Supported models (the model table, first match wins, in this order):
 * VX007 (3A7C:0C07), VX005 (3A7C:0C05), VX006 (3A7C:0C06, interface 2),
 * VX004 (3A7C:0C04, interface 2), VX001 (5E31:0001), VX002 (5E31:000F).
 *
 * A host either opens one recorder itself (VX_InitDev(), VX_InitDevEx()) or
 * takes records from the device list (@ref vx_devlist). VX_ProbeDev(),
 * VX_ProbeDevEx(), VX_InitDev() and VX_InitDevEx() switch the device list's
 * updating off for the rest of the process: a host uses one style or the other.
 *
 * Logging in: every device operation logs the record in itself with the
 * password it is given (user "admin"), so the first operation on a record
 * performs the login and later ones skip it until VX_Logout(). A password of
 * exactly 32 characters is sent as it is (taken as a digest); any other is
 * sent as its MD5 digest in 32 upper-case hexadecimal digits.
 *
 * Opening and closing log the libusb steps: `[Open_Device]: success: device
 * PPPP:VVVV opened`, `[Open_Device]: success: set configuration #n`,
 * `[Open_Device]: success: claim_interface #n`, or the libusb error text.
 * A transfer error other than a read time-out closes the record: its next
 * operation fails with #VX_STATUS_NOT_OPEN.
 * @{
 */

/** @brief One supported recorder model: its USB ids and how it is talked to. */
typedef struct DevModel {
    uint32_t vendorId;       /**< USB vendor id. */
    uint32_t productId;      /**< USB product id. */
    uint32_t configuration;  /**< USB configuration selected after opening. */
    uint32_t interfaceNo;    /**< USB interface claimed after opening (and released on close). */
    uint32_t bulkIn;         /**< Bulk IN endpoint address (replies). */
    uint32_t bulkOut;        /**< Bulk OUT endpoint address (commands). */
    char     name[VX_MODEL_NAME_LEN]; /**< Model name, such as "VX001"; for the standard set's table, the ID code. */
} DevModel;

/**
 * @brief The device record every device operation takes as its handle.
 *
 * Records come from VX_InitDev() / VX_InitDevEx() (the caller's, given back
 * with VX_UnInitDev()), from the device list (VX_GetDevHandleFromList(), the
 * library's) or VX_GetGBDev() (the library's). The host reads the fields but
 * changes none of them except @c extraFlags.
 */
typedef struct VestraInfo {
    void    *usbHandle;          /**< Opaque; null while the device is not open. */
    int32_t  devNum;             /**< Bus device number of a list slot; -1 after a close; 0 in a record from VX_InitDev() / VX_InitDevEx(). */
    DevModel model;              /**< Copy of the model's table row. */
    int32_t  isLogin;            /**< 1 after a successful login, 0 otherwise (host-side state only). */
    int32_t  udiskStatus;        /**< U-disk status: from the USB serial-number string at arrival in the list, later from VX_GetUdiskStatu(). */
    int32_t  newDevFlag;         /**< 1 when the device list filled the slot; otherwise changed only by VX_SetNewDevFlagToList(). */
    char     serial[VX_SERIAL_LEN]; /**< Serial text of a list slot (the USB serial-number string before its "_"). */
    char     idCode[VX_ID_CODE_LEN]; /**< ID code as last read from the device ("VX+GBIDCODE?"), 5 to 7 characters, or empty. */
    int32_t  errNo;              /**< Status number of the last operation (#VX_STATUS_OK and the other status numbers). */
    char     lastCmd[VX_TEXT_AREA]; /**< The last command line written, at most 1023 characters. */
    char     errStr[VX_TEXT_AREA];  /**< Error text: the last failed reply or refusal, at most 1023 characters. */
    uint8_t  extraFlags[16];     /**< The host's own flag bytes (see VX_SetExFlagToList()). */
    uint16_t busProductId;       /**< Product id of a list slot's device. */
    uint16_t busVendorId;        /**< Vendor id of a list slot's device. */
    int32_t  lastBatteryQuery;   /**< Milliseconds since process start of the last battery query accepted by VX_GetBatVal() or VX_GetBatValNow() (or of the slot's entry into the list). */
} VestraInfo;

/** @} */

/** @addtogroup vx_state
 * @{
 */

/**
 * @brief The status number of the last operation on a record.
 * @devrecord
 * @return The record's status number (#VX_STATUS_OK, #VX_STATUS_FAILED,
 * #VX_STATUS_NOT_OPEN, ...); 0 for a null record, and for a record no
 * operation has used yet. No lock, no traffic.
 */
VX_API int32_t     VX_GetErrNo(VestraInfo *dev);
/**
 * @brief The error text of a record.
 * @devrecord
 * @return The record's error text, valid as long as the record (empty in a
 * new record); null for a null record. It holds the device's whole reply
 * after a failed exchange (cut at 1023 characters) or the reason of a
 * refusal. No lock, no traffic.
 */
VX_API char       *VX_GetErrStr(VestraInfo *dev);
/**
 * @brief The library-owned record of the standard set (@ref vx_standard).
 * @return Always the same record, never null. Do not release it:
 * VX_UnInitDev() on it closes it but keeps it.
 */
VX_API VestraInfo *VX_GetGBDev(void);

/**
 * @brief Chooses where log lines go.
 *
 * Stored unchanged; takes effect with the next line. The default is
 * #VX_LOG_FILE.
 * @param mode #VX_LOG_OFF, or the bits #VX_LOG_FILE and #VX_LOG_CONSOLE
 * (the console only while the file bit is clear).
 */
VX_API void VX_SetLibLog(int32_t mode);
/**
 * @brief Sets the size above which the log is rotated.
 *
 * Before each line, a `LibVestra.log` larger than @p bytes is renamed to
 * `LibVestra.1.log` (replacing it), so the log exceeds the limit by at most
 * one line. The default is 5242880 (5 MiB); 0 or less rotates before every
 * line.
 * @param bytes The limit in bytes.
 */
VX_API void VX_SetLibLogSize(int32_t bytes);
/**
 * @brief Chooses the folder of the log and of crash reports.
 *
 * `LibVestra.log`, `LibVestra.1.log` and the crash reports of
 * VX_InitDevListPthreadEx() go to @p dir from the next line (or crash) on.
 * The default is the folder of the host executable: right for a program of
 * its own, not for an interpreter (python, mono, java), whose folder is the
 * system's. The text is copied; a relative folder is taken from the working
 * directory of the moment; the folder is not created. The Python binding
 * calls this when it is imported (the folder of the main script, else the
 * working directory); a later call of the host's own wins.
 * @param dir The folder, at most 4095 bytes; null or "" restores the default.
 * A longer text is refused and the folder stays as it was.
 * @par Log
 * `[VX_SetLibLogDir]: a folder of 4096 bytes or more is refused; the log
 * stays where it was` for a longer text.
 */
VX_API void VX_SetLibLogDir(const char *dir);

/** @} */

/** @addtogroup vx_session
 * @{
 */

/**
 * @brief Tells whether any supported recorder is attached.
 *
 * Walks the model table in order; takes the library lock; opens nothing and
 * leaves the device list's updating on.
 * @return 1 when a device of some model of the table is on the bus, else 0.
 * @par Log
 * For the device found: ` [CheckPidVidExist]: bus:  dirname=...,location=...`
 * and `[CheckPidVidExist]:  VVVV:PPPP ,filename=...,devnum=... ,num_children=... `.
 */
VX_API uint32_t    VX_CheckDevExist(void);
/**
 * @brief Names the model of the first known device on the bus.
 *
 * Walks the devices in bus order; the first whose ids are in the model table
 * wins. Opens nothing; switches the device list's updating off.
 * @param[out] modelName Area of #VX_MODEL_NAME_LEN bytes for the model name
 * (with its NUL), or null.
 * @return 1 with the name, else 0.
 * @par Log
 * `[VX_ProbeDev]:  VVVV:PPPP  ` for each device looked at,
 * `[VX_ProbeDev]: Find  VVVV:PPPP  ` for the one found.
 */
VX_API uint32_t    VX_ProbeDev(char *modelName);
/**
 * @brief Reads the ID code of the first attached recorder.
 *
 * Sends "VX+GBIDCODE?". The recorder is the first device of the first model
 * (in table order) on the bus; it is opened for the one query, without a
 * login, and closed again. Switches the device list's updating off.
 * @param[out] idCode Area of #VX_ID_CODE_LEN bytes for the ID code (5 to 7
 * characters and a NUL), or null.
 * @return 1 with the ID code; 0 when no recorder is attached, it cannot be
 * opened, its reply is not OK, lacks its "+GBIDCODE:" line, or carries a code
 * shorter than 5 or longer than 7 characters.
 * @par Log
 * The open steps (@ref vx_session), and on failure
 * `[VX_ProbeDevEx]: CheckPidVidExist is FALSE`,
 * `[VX_ProbeDevEx]: Open_Device is FAILED` or
 * `[VX_ProbeDevEx]: pVestraInfo is NULL`.
 */
VX_API uint32_t    VX_ProbeDevEx(char *idCode);
/**
 * @brief Opens the first attached recorder of a model into a new record.
 *
 * The first device of that model in bus order is opened, its configuration
 * set and its interface claimed. Sends nothing: the record is not logged in,
 * its ID code is empty and its status number 0. Switches the device list's
 * updating off.
 * @param modelName Model name, exactly as in the model table (case-sensitive),
 * such as "VX001".
 * @return A new open record, to be given back with VX_UnInitDev(); null on
 * any failure (the reason goes to the log only).
 * @par Log
 * `GetPidVid Failed` for an unknown name; otherwise the libusb text of the
 * failing step: `error opening device: ...`, `error setting config #n: ...` or
 * `error claiming interface #n: ...`.
 */
VX_API VestraInfo *VX_InitDev(const char *modelName);
/**
 * @brief Opens the first attached recorder into a new record if it has the
 * given ID code.
 *
 * Opens the first device of the first model (in table order) on the bus and
 * sends "VX+GBIDCODE?". Only that recorder is examined: a second recorder
 * with the wanted ID code is never found. No login. Switches the device
 * list's updating off.
 * @param idCode The ID code to match (whole text, case-sensitive).
 * @return A new open record with its ID code read, to be given back with
 * VX_UnInitDev(); null when no recorder is attached, it cannot be opened or
 * identified, its ID code differs, or @p idCode is null.
 * @par Log
 * The open steps (@ref vx_session).
 */
VX_API VestraInfo *VX_InitDevEx(const char *idCode);
/**
 * @brief Tells whether a record is open.
 *
 * No traffic; takes the library lock, so a record another thread is closing
 * is seen closed.
 * @devrecord
 * @return 1 when its USB handle is not null, else 0 (also for a null record).
 */
VX_API uint32_t    VX_CheckDevHandle(VestraInfo *dev);
/**
 * @brief Reads the ID code of an open recorder.
 *
 * Sends "VX+GBIDCODE?" without a login and without checking the record first
 * (on a closed record the transfers fail). The record's ID code is cleared
 * first and holds the code afterwards.
 * @devrecord
 * @param[out] idCode Area of #VX_ID_CODE_LEN bytes for the ID code and its
 * NUL, or null.
 * @return 1 when the device answered OK with a "+GBIDCODE:" line of 5 to 7
 * characters; else 0. The status number and error text are not changed.
 */
VX_API uint32_t    VX_GetIDCode(VestraInfo *dev, char *idCode);

/**
 * @brief The record's logged-in flag.
 * @devrecord
 * @return 1 when logged in, 0 when not or for a null record. No lock, no traffic.
 */
VX_API int32_t  VX_IsLogin(VestraInfo *dev);
/**
 * @brief Logs the record in as "admin".
 *
 * Sends "VX+LOGIN=admin:" and the password digest (@ref vx_session), up to
 * 10 times, until a reply contains "+LOGIN:Sucess"; each reply sets or clears
 * the logged-in flag. A logged-in record returns 1 at once, whatever the
 * password. A reply holding "Error: para is error" ends the attempts and
 * becomes the error text. Every device operation calls this first.
 * @devrecord
 * @param password Password text; null gives 0 without traffic.
 * @return 1 when the record is logged in afterwards, else 0.
 * @par Status
 * Unchanged, except: a null record gives 0 (log `No Find Device`); a closed
 * record gives 0 with #VX_STATUS_NOT_OPEN.
 * @par Log
 * The refusal text "Error: para is error" when the device sends it.
 */
VX_API uint32_t VX_Login(VestraInfo *dev, const char *password);
/**
 * @brief Logs the record in with a chosen account.
 *
 * As VX_Login(), sending "VX+LOGIN=" user ":" digest.
 * @devrecord
 * @param user Account name, sent unchanged; null gives 0.
 * @param password Password text, sent as its digest (@ref vx_session); null gives 0.
 * @return 1 when the record is logged in afterwards, else 0.
 * @par Status
 * As VX_Login().
 */
VX_API uint32_t VX_LoginEx(VestraInfo *dev, const char *user, const char *password);
/**
 * @brief First step of the two-step login: fetches the device's login ID.
 *
 * Sends "VX+LOGINID?" up to 10 times until a reply carries a "+LOGINID:"
 * line. The application derives the password for VX_LoginIDPwd() from the ID.
 * @devrecord
 * @param[out] loginId Area of #VX_LOGIN_ID_LEN bytes for the login ID and its
 * NUL, or null. Not written when the record is logged in already.
 * @return 1 with the login ID, or at once when the record is logged in
 * already; 0 when no ID came, the ID is longer than 35 characters, or the
 * device answered "Error: para is error" (then the error text).
 * @par Status
 * As VX_Login().
 * @par Log
 * `[VX_GetLoginID]: login ID of N characters refused` for a too-long ID.
 */
VX_API uint32_t VX_GetLoginID(VestraInfo *dev, char *loginId);
/**
 * @brief Second step of the two-step login: sends the application's password.
 *
 * Sends "VX+LOGINPWD=" with the password unchanged (no digest), up to 10
 * times, until a reply contains "+LOGINPWD:Sucess". A logged-in record
 * returns 1 at once.
 * @devrecord
 * @param password Password text derived by the application from the login ID.
 * @return 1 when the record is logged in afterwards, else 0.
 * @par Status
 * A null @p password gives #VX_STATUS_NO_LOGIN ("No Login Device") and 0;
 * otherwise as VX_Login().
 */
VX_API uint32_t VX_LoginIDPwd(VestraInfo *dev, const char *password);
/**
 * @brief Logs the record out.
 *
 * Sends "VX+LOGOUT" only when the record is logged in; the flag is cleared
 * when the reply is OK and contains "+LOGOUT:Sucess". The reply (whatever
 * came) becomes the error text.
 * @devrecord
 * @return 1 whenever the record is open, confirmed or not; 0 for a null
 * (log `No Find Device`) or closed record (#VX_STATUS_NOT_OPEN).
 */
VX_API uint32_t VX_Logout(VestraInfo *dev);
/**
 * @brief Gives back a record from VX_InitDev() / VX_InitDevEx().
 *
 * Sets the status number to 1, runs VX_Logout() (a closed record takes the
 * #VX_STATUS_NOT_OPEN road and is still released), closes the device and
 * frees the record. The record of VX_GetGBDev() is closed but not freed.
 * Never pass a device list slot: the list closes its own records.
 * @param dev Device record, or null (nothing happens).
 */
VX_API void     VX_UnInitDev(VestraInfo *dev);
/**
 * @brief The same as VX_UnInitDev().
 * @param dev Device record, or null (nothing happens).
 */
VX_API void     VX_UnInitDevEx(VestraInfo *dev);

/** @} */

/**
 * @defgroup vx_devlist Device list and monitor
 * @brief Up to #VX_LIST_SLOTS attached recorders, kept current by a hot-plug
 * monitor, and their accessors.
 *
 * The library keeps up to #VX_LIST_SLOTS attached recorders in slots of its
 * own; a slot's record is the handle for every device operation (do not pass
 * it to VX_UnInitDev()). Slots are filled lowest-first and never compacted: a
 * slot index identifies a recorder while it stays attached. A slot is in use
 * while its record is open; a closed slot keeps its serial, ID code and
 * U-disk status until a new recorder takes it. Slots are keyed by bus and
 * device number.
 *
 * Filling a slot (the arrival pass): a device of a supported model whose USB
 * serial-number string has the form SERIAL_N (serial, underscore, U-disk
 * status) is opened, configured and claimed (a failure leaves
 * #VX_STATUS_SET_CONFIG or #VX_STATUS_CLAIM_IFACE in the free slot and is
 * logged); its ID code is read ("VX+GBIDCODE?", two attempts 100 ms apart,
 * listed whatever the outcome); a factory-default serial is replaced by the
 * device's UUID, at most 11 characters ("VX+UUID?", which logs the slot in
 * with the factory password); its new-device flag becomes 1. A string without an underscore is
 * skipped and tried again at every refresh. The removal pass closes the slots
 * whose device has left the bus (no logout).
 *
 * Accessors take the (recursive) library lock themselves, except
 * VX_GetDevListIsUpdate() and VX_GetDevHandleFromList(); bracket several reads
 * with VX_ListEnterCriticalSection() / VX_ListLeaveCriticalSection() for one
 * consistent view. They set no status number or error text: a refusal is the
 * result 0 (or null) with the output untouched.
 *
 * Log: `DevSerial:SERIAL_N` per recorder whose string was read,
 * `[CheckNewUsbDev]:  Add Dev[slot][devnum]:[idcode_serial]`,
 * `[CheckRemoveUsbDev]:  Close Dev[slot][devnum]:[idcode_serial]`,
 * `Change error SN[vestra] ==> [uuid]`, and after a change
 * `refresh DevSum=n` and one `[i]=serial:udisk` line per slot.
 * @{
 */
#define VX_LIST_SLOTS 50   /**< Number of slots of the device list. */
#define VX_EXTRA_FLAGS 16  /**< Number of host flag bytes per slot (VX_SetExFlagToList()). */

/**
 * @brief One in-use slot, as VX_GetDevAllListInfoFromList() writes it.
 *
 * 64 bytes where pointers are 4 bytes; elsewhere the handle widens to a
 * pointer and the other fields follow in the same order. Zero-filled before
 * it is written, so texts are NUL-padded.
 */
typedef struct DevListInfo {
    VestraInfo *handle;              /**< The slot's record. */
    int32_t     index;               /**< Slot index, 0 to 49. */
    int32_t     devNum;              /**< USB device number. */
    int32_t     udiskStatus;         /**< U-disk status. */
    int32_t     newDevFlag;          /**< New-device flag. */
    char        serial[VX_SERIAL_LEN];  /**< Serial text. */
    char        idCode[VX_ID_CODE_LEN]; /**< ID code text. */
    uint8_t     extraFlags[VX_EXTRA_FLAGS]; /**< The host's flag bytes 0 to 15. */
    uint16_t    busProductId;        /**< Product id of the device. */
    uint16_t    busVendorId;         /**< Vendor id of the device. */
} DevListInfo;

/** @brief Compile-time layout check of #DevListInfo (C89-compatible: a
 * negative array size fails the build). Not for use. */
typedef char VX_DevListInfoLayoutCheck[
    (sizeof(void *) == 4 ? sizeof(DevListInfo) == 64 && offsetof(DevListInfo, serial) == 20 &&
                               offsetof(DevListInfo, busVendorId) == 62
                         : offsetof(DevListInfo, index) == sizeof(void *) &&
                               offsetof(DevListInfo, serial) == sizeof(void *) + 16 &&
                               offsetof(DevListInfo, busVendorId) == sizeof(void *) + 58)
        ? 1 : -1];

/**
 * @brief The host's callback, given to VX_InitDevListPthreadEx().
 *
 * It runs on the refresh thread. After a refresh caused by a device event it
 * runs with the library lock held, so it may call the library but must not
 * wait for another thread that calls it.
 * @param kind 1: the list changed; 2: a refresh caused by a device event ran
 * (after the kind-1 call, if any).
 * @param value Kind 1: the number of in-use slots. Kind 2: 1 for an arrival,
 * 2 for a removal (also for the first refresh after the start, and after an
 * operation found its device gone).
 */
typedef void (*DevListCallback)(int32_t kind, int32_t value);

/**
 * @brief Number of in-use slots, as counted by the last list change.
 * @return The count, 0 to #VX_LIST_SLOTS.
 */
VX_API int32_t     VX_GetDevListSum(void);
/**
 * @brief Tells whether the list changed since the last call, and clears the
 * news.
 * @return 1 once after each change (and once after the library is loaded),
 * else 0. No lock.
 */
VX_API uint32_t    VX_GetDevListIsUpdate(void);
/**
 * @brief Takes the library lock for a consistent view of several accessors.
 *
 * The lock is recursive: the accessors and operations may be called while it
 * is held. Refreshes and other threads' device operations wait until
 * VX_ListLeaveCriticalSection() on the same thread.
 */
VX_API void        VX_ListEnterCriticalSection(void);
/**
 * @brief Leaves what VX_ListEnterCriticalSection() took on this thread.
 *
 * A call without a matching enter on this thread is ignored.
 */
VX_API void        VX_ListLeaveCriticalSection(void);
/**
 * @brief The serial text of a slot, in use or not.
 * @param index Slot index, 0 to 49.
 * @param[out] serial Area of #VX_SERIAL_LEN bytes; written (with its NUL) only
 * when the slot's serial is not empty.
 * @return 1 for an index of 0 to 49; 0 otherwise or when @p serial is null.
 */
VX_API uint32_t    VX_GetDevSNFromList(int32_t index, char *serial);
/**
 * @brief The ID code of a slot.
 *
 * Unlike the other index accessors, only indexes below VX_GetDevListSum() are
 * accepted, although slots need not be contiguous.
 * @param index Slot index, 0 to VX_GetDevListSum() - 1.
 * @param[out] idCode Area of #VX_ID_CODE_LEN bytes; written (with its NUL)
 * only when the slot's ID code is not empty.
 * @return 1 for an accepted index; 0 otherwise or when @p idCode is null.
 */
VX_API uint32_t    VX_GetDevIDCodeFromList(int32_t index, char *idCode);
/**
 * @brief The U-disk status of a slot, in use or not.
 * @param index Slot index, 0 to 49.
 * @param[out] status The status from the serial-number string at arrival, or
 * the last VX_GetUdiskStatu() result (0 after a failed query).
 * @return 1 for an index of 0 to 49; 0 otherwise or when @p status is null.
 */
VX_API uint32_t    VX_GetUdiskStatuFromList(int32_t index, int32_t *status);
/**
 * @brief Finds the slot of a serial.
 *
 * In-use slots with a non-empty serial are compared in slot order, whole
 * text, case-sensitive; the lowest index wins.
 * @param serial Serial text.
 * @param[out] index The slot index; untouched when nothing matches.
 * @return 1 when found; 0 otherwise or when an argument is null.
 */
VX_API uint32_t    VX_GetDevIdxFromList(const char *serial, int32_t *index);
/**
 * @brief The record of a slot, in use or not.
 *
 * The address stays valid for the process's life, but addresses a working
 * device only while the slot is in use; after a removal and an arrival the
 * same slot may hold another recorder. No lock.
 * @param index Slot index, 0 to 49.
 * @return The slot's record; null for another index.
 */
VX_API VestraInfo *VX_GetDevHandleFromList(int32_t index);
/**
 * @brief Summaries of the in-use slots.
 *
 * Walks slots 0 to 49 in order and writes one #DevListInfo per in-use slot.
 * @param[out] out Array of at least @p maxCount records.
 * @param maxCount Most records to write, at least 1.
 * @return The number written; 0 when none is in use, @p out is null or
 * @p maxCount is below 1.
 */
VX_API uint32_t    VX_GetDevAllListInfoFromList(DevListInfo *out, int32_t maxCount);
/**
 * @brief Sets the new-device flag of an in-use slot.
 * @param dev Record of an in-use slot (any other record is refused).
 * @param value The flag value.
 * @return 1 when stored, else 0.
 */
VX_API uint32_t    VX_SetNewDevFlagToList(VestraInfo *dev, int32_t value);
/**
 * @brief Reads the new-device flag of an in-use slot.
 * @param dev Record of an in-use slot (any other record is refused).
 * @param[out] value The flag: 1 when the list filled the slot, or what the
 * host set.
 * @return 1 when read; 0 for another record or a null @p value.
 */
VX_API uint32_t    VX_GetNewDevFlagFromList(VestraInfo *dev, int32_t *value);
/**
 * @brief Stores one of the host's flag bytes of an in-use slot.
 *
 * The bytes are zero when the slot is filled.
 * @param dev Record of an in-use slot (any other record is refused).
 * @param flag Flag number, 0 to #VX_EXTRA_FLAGS - 1.
 * @param value The byte.
 * @return 1 when stored, else 0.
 */
VX_API uint32_t    VX_SetExFlagToList(VestraInfo *dev, uint32_t flag, uint8_t value);
/**
 * @brief Reads one of the host's flag bytes of an in-use slot.
 * @param dev Record of an in-use slot (any other record is refused).
 * @param flag Flag number, 0 to #VX_EXTRA_FLAGS - 1.
 * @param[out] value The byte.
 * @return 1 when read; 0 for another record, a flag number out of range or a
 * null @p value.
 */
VX_API uint32_t    VX_GetExFlagFromList(VestraInfo *dev, uint32_t flag, uint8_t *value);

/**
 * @brief Starts the monitor and the refresh thread that keeps the list
 * current.
 *
 * Only the first start of either form does anything; the threads run until
 * the process ends. The start installs the crash handler where the platform
 * has one (a crash of the host process then leaves a crash report in the log
 * folder, VX_SetLibLogDir(), named after the local time), clears the list,
 * stores the callback, turns list updating on, starts a thread that turns USB
 * arrivals and removals into a pending change where the platform has an event
 * source (otherwise the list is refreshed on its timer only), then the
 * refresh thread (300 ms later).
 *
 * Faults the host handles itself stay its own: on Windows the handler is the
 * unhandled-exception filter, reached only by exceptions nobody handled; on
 * Linux each fatal signal goes first to the action in force before the start
 * (a managed runtime's null-reference and safepoint handling, a host's
 * handler that recovers with siglongjmp or fixes the memory), and only a
 * fault that action leaves unresolved (default, ignored, a handler that
 * returns without changing where the thread resumes, or re-raises) is
 * reported, after which the process ends by the signal. Later changes of
 * those signals' actions are refused, reporting success.
 *
 * Refreshes: a pending change is acted on no sooner than 2 s after the
 * previous refresh (several events in that time give one refresh); without
 * events the list is refreshed after 10 s, the quiet interval growing by 5 s
 * per timed refresh up to 3600 s and dropping back to 10 s after an event.
 * An event-caused refresh holds the library lock, callbacks included.
 * Between refreshes both threads rest: they run only when an event comes or
 * a refresh is due, which an event brings forward to the end of its 2 s.
 * @param callback The host's callback, or null for none.
 * @par Log
 * `[VX_InitDevListPthreadEx]: USB events from ...` (or `... no USB event
 * source (...); timed refreshes keep the list current`),
 * `[VX_InitDevListPthreadEx]: crash handler installed but not pinned` when
 * another handler could replace it, and per refresh
 * `refresh udiskflag=state,duration=seconds`.
 */
VX_API void     VX_InitDevListPthreadEx(DevListCallback callback);
/**
 * @brief Starts the monitor only: the host updates the list with
 * VX_InitDevList().
 *
 * As VX_InitDevListPthreadEx() without callback and without refresh thread.
 * @par Log
 * As VX_InitDevListPthreadEx(), tagged `[VX_InitDevListPthread]`.
 */
VX_API void     VX_InitDevListPthread(void);
/**
 * @brief One list update: the removal pass, then the arrival pass.
 *
 * Runs under the library lock. Without a refresh thread it also recounts
 * VX_GetDevListSum() and raises VX_GetDevListIsUpdate() when the list
 * changed.
 * @return 1 if a slot was closed or filled; 0 otherwise, and always while
 * list updating is off (before a start, and for good after VX_ProbeDev(),
 * VX_ProbeDevEx(), VX_InitDev() or VX_InitDevEx()).
 */
VX_API uint32_t VX_InitDevList(void);
/**
 * @brief Logs out and closes every listed recorder and clears the list.
 *
 * Each in-use slot gets status 1, VX_Logout() and a close. The threads and
 * the callback stay: the next refresh fills the list again.
 */
VX_API void     VX_UnInitDevList(void);
/**
 * @brief Asks the recorder for its U-disk status.
 *
 * Sends "VX+PCUDISKSTAT?" under the library lock, without a login and
 * without the open check of the device operations; the number behind
 * "+PCUDISKSTAT:" is stored in the record (0 when the query fails).
 * @param dev Device record (usually a list slot's).
 * @param password Unused.
 * @param[out] status The U-disk status, or null.
 * @return 1 when the reply was OK with its "+PCUDISKSTAT:" line; else 0
 * (also for a null record). The status number and error text are not changed.
 */
VX_API uint32_t VX_GetUdiskStatu(VestraInfo *dev, const char *password, int32_t *status);

/** @} */

/**
 * @ingroup vx_data
 * @brief Sends a command line unchanged.
 *
 * Runs the record checks and the login of @ref vx_ops, then writes the
 * command exactly as given (include its CR LF; nothing is added or checked)
 * and reads the reply into #VX_TEXT_AREA bytes.
 * @devrecord
 * @param password Login password (@ref vx_ops).
 * @param command The complete command line.
 * @return 1 when the reply is OK (status 1); 0 on failure (@ref vx_ops). The
 * device's whole reply is left in VX_GetErrStr() whatever the result.
 * @par Status
 * A null @p command sends nothing, without a login: status 0, empty error text.
 */
VX_API uint32_t VX_Cmd(VestraInfo *dev, const char *password, const char *command);

/**
 * @defgroup vx_ops Device operations
 * @brief The exchange every device operation runs, and its outcomes.
 *
 * Every operation of the groups below takes the record and the login password
 * and runs these steps:
 * 1. A null record: result 0, log `No Find Device`, nothing else changes.
 * 2. A record that is not open: it is closed, status #VX_STATUS_NOT_OPEN,
 *    error text "Device not Open", log `Device not Open`; the device list's
 *    monitor is told a device went away.
 * 3. VX_Login() with the password when the record is not logged in yet (the
 *    password is used only then). Still logged out: status
 *    #VX_STATUS_NO_LOGIN, error text "No Login Device", result 0.
 * 4. Under the library lock: a command that must be refused is not sent
 *    (status #VX_STATUS_FAILED, the error text says why, result 0). This
 *    includes every command that would not fit its area ("command too long
 *    for its area: not sent").
 * 5. One command line (CR LF ended) is written; the reply is read until an
 *    "OK" line or a complete "Error:" line appears (1 s per bulk read).
 * 6. Success: more than 4 bytes, an "OK" line, and the operation's parse rule
 *    accepts the reply: status 1 (or the operation's special status), error
 *    text unchanged, result 1.
 * 7. Otherwise: status 0, the whole reply (empty when nothing came) as error
 *    text, result 0. A transfer error other than a read time-out also closes
 *    the record.
 *
 * Texts: null input texts are sent as empty texts; null output pointers are
 * skipped. Parse rules:
 * - raw payload: the bytes between "+KEY:" and the next CR LF, copied without
 *   a terminator, at most #VX_TEXT_AREA bytes; pass zero-filled areas of
 *   #VX_TEXT_AREA bytes. An empty payload succeeds and copies nothing.
 * - number: "+KEY:" with a line end behind it; the payload read as by `atoi`.
 * - field list: the payload cut at commas into fields 1, 2, ...; each field
 *   (at most 127 characters) is copied with its NUL; absent fields leave their
 *   outputs untouched; succeeds whenever the key is there.
 *
 * Log: every exchange writes `[WriteFullDev]: usb_bulk_write COMMAND` and
 * `[ReadFullDev]: readbuf [n]:REPLY`; a failed transfer
 * `[ReadFullDev]: usb_bulk_read err:cmd:COMMAND ret=r,TEXT` or
 * `[WriteFullDev]: usb_bulk_write ... error r  : TEXT,so close dev`.
 */

/**
 * @defgroup vx_identity Identity, clock, account, device information
 * @ingroup vx_ops
 * @brief The identity record, name and identifiers, clock, user account,
 * battery level, video encoders and recording password.
 *
 * Results and status numbers as in @ref vx_ops.
 * @{
 */

/** @brief The 94-byte identity record of the national recorder standard
 * (packed: five texts at offsets 0, 8, 15, 48 and 61). */
typedef struct ZFYInfo {
    char serial[8];    /**< Recorder serial number, at most 7 characters. */
    char userNo[7];    /**< User number, at most 6 characters. */
    char userName[33]; /**< User name, at most 32 characters. */
    char unitNo[13];   /**< Unit number, at most 12 characters. */
    char unitName[33]; /**< Unit name, at most 32 characters. */
} ZFYInfo;

/**
 * @brief Reads the identity record.
 *
 * Sends "VX+GBCFG?". Once the device said OK, all five fields are zeroed,
 * then filled from the field list behind "+GBCFG:" in record order (each cut
 * to its width); fields beyond the fifth are ignored.
 * @devrecord
 * @loginpwd
 * @param[out] info The identity; untouched when the reply is not OK.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevInfo(VestraInfo *dev, const char *pwd, ZFYInfo *info);
/**
 * @brief Writes the identity record.
 *
 * Sends "VX+GBCFG=serial,userNo,userName,unitNo,unitName", each field read up
 * to its width.
 * @devrecord
 * @loginpwd
 * @param info The identity; null sends five empty fields.
 * @returnok
 */
VX_API uint32_t VX_SetDevInfo(VestraInfo *dev, const char *pwd, const ZFYInfo *info);
/**
 * @brief Sets the device name.
 *
 * Sends "VX+DEVNAME=name".
 * @devrecord
 * @loginpwd
 * @param name The name.
 * @returnok
 */
VX_API uint32_t VX_SetDevName(VestraInfo *dev, const char *pwd, const char *name);
/**
 * @brief Reads the device name.
 *
 * Sends "VX+DEVNAME?"; the raw payload behind "+DEVNAME:".
 * @devrecord
 * @loginpwd
 * @param[out] name Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevName(VestraInfo *dev, const char *pwd, char *name);
/**
 * @brief Reads the device's UID.
 *
 * Sends "VX+UID?"; the raw payload behind "+UID:".
 * @devrecord
 * @loginpwd
 * @param[out] uid Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevUID(VestraInfo *dev, const char *pwd, char *uid);
/**
 * @brief Reads the device's UUID.
 *
 * Sends "VX+UUID?"; the raw payload behind "+UUID:".
 * @devrecord
 * @loginpwd
 * @param[out] uuid Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevUUID(VestraInfo *dev, const char *pwd, char *uuid);
/**
 * @brief Reads the device's VID.
 *
 * Sends "VX+VID?"; the raw payload behind "+VID:".
 * @devrecord
 * @loginpwd
 * @param[out] vid Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevVID(VestraInfo *dev, const char *pwd, char *vid);
/**
 * @brief Reads the device's DID.
 *
 * Sends "VX+DID?"; the raw payload behind "+DID:".
 * @devrecord
 * @loginpwd
 * @param[out] did Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevDID(VestraInfo *dev, const char *pwd, char *did);
/**
 * @brief Sets the device clock to the host's current UTC time.
 *
 * Sends "VX+SYSTIME=YYYYMMDDhhmmss" (UTC).
 * @devrecord
 * @loginpwd
 * @returnok
 */
VX_API uint32_t VX_SetDevTime(VestraInfo *dev, const char *pwd);
/**
 * @brief Sets the device clock to the host's UTC time, with two values of
 * the device's own.
 *
 * Sends "VX+SYSTIME=YYYYMMDDhhmmss,0,value,text": the UTC time, always 0,
 * then the caller's number and text.
 * @devrecord
 * @loginpwd
 * @param value Third field, in decimal.
 * @param text Fourth field, unchanged.
 * @returnok
 */
VX_API uint32_t VX_SetDevTimeCfg(VestraInfo *dev, const char *pwd, int32_t value, const char *text);
/**
 * @brief Reads the device clock and its three further fields.
 *
 * Sends "VX+SYSTIME?"; the field list behind "+SYSTIME:".
 * @devrecord
 * @loginpwd
 * @param[out] time Field 1, the time text, with its NUL (#VX_TEXT_AREA bytes suffice).
 * @param[out] second Field 2, as a number.
 * @param[out] third Field 3, as a number.
 * @param[out] fourth Field 4, a text with its NUL (#VX_TEXT_AREA bytes suffice).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevTimeCfg(VestraInfo *dev, const char *pwd, char *time, uint32_t *second,
                                 uint32_t *third, char *fourth);
/**
 * @brief Reads the device clock.
 *
 * As VX_GetDevTimeCfg() ("VX+SYSTIME?"), handing back field 1 only.
 * @devrecord
 * @loginpwd
 * @param[out] time The time text with its NUL (#VX_TEXT_AREA bytes suffice).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevTime(VestraInfo *dev, const char *pwd, char *time);
/**
 * @brief Sets the device's user account.
 *
 * Sends "VX+USER=user:digest1:digest2". Each password is sent as it is when
 * it has exactly 32 characters, else as its MD5 digest in upper-case
 * hexadecimal (a null password as the digest of the empty text).
 * @devrecord
 * @loginpwd
 * @param user Account name, unchanged.
 * @param password1 First password.
 * @param password2 Second password.
 * @returnok
 */
VX_API uint32_t VX_SetDevUser(VestraInfo *dev, const char *pwd, const char *user,
                              const char *password1, const char *password2);
/**
 * @brief Reads the device's user account.
 *
 * Sends "VX+USER?"; the raw payload behind "+USER:".
 * @devrecord
 * @loginpwd
 * @param[out] user Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevUser(VestraInfo *dev, const char *pwd, char *user);
/**
 * @brief Reads the battery level, at most once in 20 s per record.
 *
 * Sends "VX+BATVAL?"; the number behind "+BATVAL:". A call within 20 s of
 * the last one asked (or of the record's entry into the device list) returns
 * 0 at once, sending nothing and changing no status. Otherwise the time is
 * noted before the exchange, whatever its outcome.
 * @devrecord
 * @loginpwd
 * @param[out] level The battery level.
 * @return 1 with status 1; 0 on failure (@ref vx_ops), inside the 20 s
 * window, or for a null record (without a log line).
 */
VX_API uint32_t VX_GetBatVal(VestraInfo *dev, const char *pwd, uint32_t *level);
/**
 * @brief Reads the battery level at once, whatever the 20 s window.
 *
 * Sends "VX+BATVAL?"; the number behind "+BATVAL:", as VX_GetBatVal() does.
 * The time is noted before the exchange as VX_GetBatVal() notes it, so that
 * its window starts again. For a host that asks once for a record it has
 * just opened (a record that never asked counts its window from the start of
 * the process).
 * @devrecord
 * @loginpwd
 * @param[out] level The battery level.
 * @return 1 with status 1; 0 on failure (@ref vx_ops), or for a null record
 * (without a log line).
 */
VX_API uint32_t VX_GetBatValNow(VestraInfo *dev, const char *pwd, uint32_t *level);
/**
 * @brief Reads the main video encoder's settings.
 *
 * Sends "VX+MVEINFO?"; the field list behind "+MVEINFO:". Field 1 "WxH" gives
 * width and height (a field without a lower-case x leaves both untouched);
 * fields 2 and 3 are numbers of the device's own.
 * @devrecord
 * @loginpwd
 * @param[out] width Width in pixels.
 * @param[out] height Height in pixels.
 * @param[out] third Field 2.
 * @param[out] fourth Field 3.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetMasterVEInfo(VestraInfo *dev, const char *pwd, uint32_t *width,
                                   uint32_t *height, uint32_t *third, uint32_t *fourth);
/**
 * @brief Reads the secondary video encoder's settings.
 *
 * As VX_GetMasterVEInfo(), sending "VX+SVEINFO?" and reading "+SVEINFO:".
 * @devrecord
 * @loginpwd
 * @param[out] width Width in pixels.
 * @param[out] height Height in pixels.
 * @param[out] third Field 2.
 * @param[out] fourth Field 3.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetSlaveVEInfo(VestraInfo *dev, const char *pwd, uint32_t *width,
                                  uint32_t *height, uint32_t *third, uint32_t *fourth);
/**
 * @brief Sets the recording password.
 *
 * Sends "VX+RECVPWD=value" (decimal).
 * @devrecord
 * @loginpwd
 * @param value The recording password as a number.
 * @returnok
 */
VX_API uint32_t VX_SetRecordPwd(VestraInfo *dev, const char *pwd, int32_t value);
/**
 * @brief Reads the recording password.
 *
 * Sends "VX+RECVPWD?"; the raw payload behind "+RECVPWD:", as text.
 * @devrecord
 * @loginpwd
 * @param[out] value Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetRecordPwd(VestraInfo *dev, const char *pwd, char *value);

/** @} */

/**
 * @defgroup vx_network Network, Wi-Fi access points, switches
 * @ingroup vx_ops
 * @brief Mobile network, VPN, server address, Wi-Fi access points and four
 * device switches.
 *
 * Results and status numbers as in @ref vx_ops. The access-point operations
 * report their own outcomes -110 to -113 with result 1: read the status number
 * to tell a confirmed change or a non-empty answer (1) from them.
 * @{
 */

/**
 * @brief Sets the mobile-data access point name.
 *
 * Sends "VX+APN=apn"; an empty (or null) text is sent as NULL.
 * @devrecord
 * @loginpwd
 * @param apn The APN, at most 31 characters.
 * @returnok
 * @par Status
 * A text of 32 characters or more is refused without sending: status 0, error
 * text "text of 32 characters or more refused".
 */
VX_API uint32_t VX_SetApn(VestraInfo *dev, const char *pwd, const char *apn);
/**
 * @brief Reads the mobile-data access point name.
 *
 * Sends "VX+APN?"; the raw payload behind "+APN:" as the device sends it (a
 * NULL payload is copied as it is).
 * @devrecord
 * @loginpwd
 * @param[out] apn Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetApn(VestraInfo *dev, const char *pwd, char *apn);
/**
 * @brief Sets the three VPN texts.
 *
 * Sends "VX+VPN=first,second,third"; each empty (or null) text is sent as NULL.
 * @devrecord
 * @loginpwd
 * @param first First text, at most 31 characters.
 * @param second Second text, at most 31 characters.
 * @param third Third text, at most 31 characters.
 * @returnok
 * @par Status
 * A text of 32 characters or more is refused without sending: status 0, error
 * text "text of 32 characters or more refused".
 */
VX_API uint32_t VX_SetVpn(VestraInfo *dev, const char *pwd, const char *first, const char *second,
                          const char *third);
/**
 * @brief Reads the three VPN texts.
 *
 * Sends "VX+VPN?"; the field list behind "+VPN:". A field NULL leaves its
 * output untouched.
 * @devrecord
 * @loginpwd
 * @param[out] first Field 1 with its NUL (#VX_TEXT_AREA bytes suffice).
 * @param[out] second Field 2 with its NUL.
 * @param[out] third Field 3 with its NUL.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetVpn(VestraInfo *dev, const char *pwd, char *first, char *second, char *third);
/**
 * @brief Sets the management server address.
 *
 * Sends "VX+SERVADDR=address:port".
 * @devrecord
 * @loginpwd
 * @param address Host name or address.
 * @param port Port, in decimal.
 * @returnok
 */
VX_API uint32_t VX_SetServAddr(VestraInfo *dev, const char *pwd, const char *address, int32_t port);
/**
 * @brief Reads the management server address.
 *
 * Sends "VX+SERVADDR?"; the field list "address,port" behind "+SERVADDR:".
 * @devrecord
 * @loginpwd
 * @param[out] address Field 1 with its NUL (#VX_TEXT_AREA bytes suffice).
 * @param[out] port Field 2, as a number.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetServAddr(VestraInfo *dev, const char *pwd, char *address, uint32_t *port);
/**
 * @brief Sets the device's own Wi-Fi network name.
 *
 * Sends "VX+SSID=ssid".
 * @devrecord
 * @loginpwd
 * @param ssid The network name.
 * @returnok
 */
VX_API uint32_t VX_SetDevSSID(VestraInfo *dev, const char *pwd, const char *ssid);
/**
 * @brief Reads the device's own Wi-Fi network name.
 *
 * Sends "VX+SSID?"; the raw payload behind "+SSID:".
 * @devrecord
 * @loginpwd
 * @param[out] ssid Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevSSID(VestraInfo *dev, const char *pwd, char *ssid);
/**
 * @brief Adds a Wi-Fi access point.
 *
 * Sends "VX+APADD=ssid:password".
 * @devrecord
 * @loginpwd
 * @param ssid Access point name.
 * @param password Access point password, unchanged.
 * @returnok
 */
VX_API uint32_t VX_AddAp(VestraInfo *dev, const char *pwd, const char *ssid, const char *password);
/**
 * @brief Deletes a Wi-Fi access point.
 *
 * Sends "VX+APDEL=ssid"; the reply needs a "+APDEL:" line.
 * @devrecord
 * @loginpwd
 * @param ssid Access point name.
 * @return 1 when the device said OK with its "+APDEL:" line; 0 on failure
 * (@ref vx_ops).
 * @par Status
 * 1 when the name appears behind "+APDEL:", else #VX_STATUS_AP_NOT_DELETED
 * (result 1, error text unchanged).
 */
VX_API uint32_t VX_DelAp(VestraInfo *dev, const char *pwd, const char *ssid);
/**
 * @brief Deletes every Wi-Fi access point.
 *
 * Sends "VX+APDEL=ALL"; the reply needs a "+APDEL:" line.
 * @devrecord
 * @loginpwd
 * @return 1 when the device said OK with its "+APDEL:" line; 0 on failure
 * (@ref vx_ops).
 * @par Status
 * 1 when ALL appears behind "+APDEL:", else #VX_STATUS_AP_NOT_DELETED
 * (result 1, error text unchanged).
 */
VX_API uint32_t VX_DelAllAp(VestraInfo *dev, const char *pwd);
/**
 * @brief Selects a Wi-Fi access point.
 *
 * Sends "VX+APSEL=ssid"; the reply needs a "+APSEL:" line.
 * @devrecord
 * @loginpwd
 * @param ssid Access point name.
 * @return 1 when the device said OK with its "+APSEL:" line; 0 on failure
 * (@ref vx_ops).
 * @par Status
 * 1 when the name appears behind "+APSEL:", else #VX_STATUS_AP_NOT_SELECTED
 * (result 1, error text unchanged).
 */
VX_API uint32_t VX_SetSelAp(VestraInfo *dev, const char *pwd, const char *ssid);
/**
 * @brief Reads the selected Wi-Fi access point.
 *
 * Sends "VX+APSEL?"; the raw payload behind "+APSEL:", or behind "+APLIST:"
 * when the reply has no "+APSEL:" line (older devices answer so).
 * @devrecord
 * @loginpwd
 * @param[out] ssid Zero-filled area of #VX_TEXT_AREA bytes (no terminator written).
 * @return 1 with status 1 or #VX_STATUS_AP_EMPTY_SEL; 0 on failure (@ref vx_ops).
 * @par Status
 * #VX_STATUS_AP_EMPTY_SEL (result 1, nothing copied) for an empty payload.
 */
VX_API uint32_t VX_GetSelAp(VestraInfo *dev, const char *pwd, char *ssid);
/**
 * @brief Reads the list of Wi-Fi access points.
 *
 * Sends "VX+APLIST?"; the raw payload behind "+APLIST:" as the device sends
 * it. Command and reply areas are #VX_AP_LIST_AREA bytes.
 * @devrecord
 * @loginpwd
 * @param[out] list Zero-filled area of #VX_AP_LIST_AREA bytes (no terminator written).
 * @return 1 with status 1 or #VX_STATUS_AP_EMPTY_LIST; 0 on failure (@ref vx_ops).
 * @par Status
 * #VX_STATUS_AP_EMPTY_LIST (result 1, nothing copied) for an empty payload.
 */
VX_API uint32_t VX_GetApList(VestraInfo *dev, const char *pwd, char *list);
/**
 * @brief Sets U-disk authentication.
 *
 * Sends "VX+UDISKAUTHEN=value" (decimal, not range-checked).
 * @devrecord
 * @loginpwd
 * @param value The switch value.
 * @returnok
 */
VX_API uint32_t VX_SetDevUDiskAuthEn(VestraInfo *dev, const char *pwd, int32_t value);
/**
 * @brief Reads U-disk authentication.
 *
 * Sends "VX+UDISKAUTHEN?"; the number behind "+UDISKAUTHEN:".
 * @devrecord
 * @loginpwd
 * @param[out] value The switch value.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevUDiskAuthEn(VestraInfo *dev, const char *pwd, uint32_t *value);
/**
 * @brief Sets the PFPTT function switch.
 *
 * Sends "VX+PFPTTEN=value" (decimal, not range-checked).
 * @devrecord
 * @loginpwd
 * @param value The switch value.
 * @returnok
 */
VX_API uint32_t VX_SetDevPFPTTEn(VestraInfo *dev, const char *pwd, int32_t value);
/**
 * @brief Reads the PFPTT function switch.
 *
 * Sends "VX+PFPTTEN?"; the number behind "+PFPTTEN:".
 * @devrecord
 * @loginpwd
 * @param[out] value The switch value.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevPFPTTEn(VestraInfo *dev, const char *pwd, uint32_t *value);
/**
 * @brief Sets the server heartbeat interval.
 *
 * Sends "VX+SERVHEARTBEAT=seconds" (decimal, not range-checked).
 * @devrecord
 * @loginpwd
 * @param seconds The interval, in the device's unit.
 * @returnok
 */
VX_API uint32_t VX_SetDevReportTime(VestraInfo *dev, const char *pwd, int32_t seconds);
/**
 * @brief Reads the server heartbeat interval.
 *
 * Sends "VX+SERVHEARTBEAT?"; the number behind "+SERVHEARTBEAT:".
 * @devrecord
 * @loginpwd
 * @param[out] seconds The interval.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevReportTime(VestraInfo *dev, const char *pwd, uint32_t *seconds);
/**
 * @brief Sets the GPS switch.
 *
 * Sends "VX+GPSEN=value" (decimal, not range-checked).
 * @devrecord
 * @loginpwd
 * @param value The switch value.
 * @returnok
 */
VX_API uint32_t VX_SetDevGpsEn(VestraInfo *dev, const char *pwd, int32_t value);
/**
 * @brief Reads the GPS switch.
 *
 * Sends "VX+GPSEN?"; the number behind "+GPSEN:".
 * @devrecord
 * @loginpwd
 * @param[out] value The switch value.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevGpsEn(VestraInfo *dev, const char *pwd, uint32_t *value);

/** @} */

/**
 * @defgroup vx_services Platform service configurations
 * @ingroup vx_ops
 * @brief Eight remote-platform configurations, one set and one get each.
 *
 * Set: "VX+KEY=bEnable:flag," then "Name:value," for each text given, in the
 * order of the arguments (a null text leaves its pair out; an empty one is
 * sent as "Name:,"), then "ReportTime:n," where the family has one. The flag
 * is sent in decimal as a signed number.
 *
 * Get: "VX+KEY?"; behind "+KEY:" each pair is looked up on its own (any
 * order), its value running from the colon to the next comma. Texts are
 * copied without a terminator (pass zero-filled areas of #VX_TEXT_AREA
 * bytes); bEnable and ReportTime are numbers; pairs missing from the reply
 * leave their outputs untouched. Success needs the "OK" line, the reply key
 * and at least one pair read.
 *
 * Results and status numbers as in @ref vx_ops.
 * @{
 */

/**
 * @brief Writes the talk-back (intercom) server configuration.
 *
 * Sends "VX+TALKBACKCFG=" with bEnable, ServIP, ServPort, DevNo, DevName and
 * DevPasswd pairs.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @param devNo DevNo, or null to leave it out.
 * @param devName DevName, or null to leave it out.
 * @param devPasswd DevPasswd, or null to leave it out.
 * @returnok
 */
VX_API uint32_t VX_SetTalkBackCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                  const char *servIp, const char *servPort, const char *devNo,
                                  const char *devName, const char *devPasswd);
/**
 * @brief Reads the talk-back (intercom) server configuration.
 *
 * Sends "VX+TALKBACKCFG?"; the pairs behind "+TALKBACKCFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @param[out] devNo DevNo.
 * @param[out] devName DevName.
 * @param[out] devPasswd DevPasswd.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetTalkBackCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                                  char *servPort, char *devNo, char *devName, char *devPasswd);
/**
 * @brief Writes the GB28181 video platform configuration.
 *
 * Sends "VX+GB28181CFG=" with bEnable, ServIP, ServPort, DevNo, ChnNo,
 * Chnname, ServID, Name and Passwd pairs; the ServID text is sent twice,
 * as ServID and as Name.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @param devNo DevNo, or null to leave it out.
 * @param chnNo ChnNo, or null to leave it out.
 * @param chnName Chnname, or null to leave it out.
 * @param servId ServID and Name, or null to leave both out.
 * @param passwd Passwd, or null to leave it out.
 * @returnok
 */
VX_API uint32_t VX_SetGb28181Cfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                 const char *servIp, const char *servPort, const char *devNo,
                                 const char *chnNo, const char *chnName, const char *servId,
                                 const char *passwd);
/**
 * @brief Reads the GB28181 video platform configuration.
 *
 * Sends "VX+GB28181CFG?"; the pairs behind "+GB28181CFG:". The servId output
 * takes the Name value first, then the ServID value over it.
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @param[out] devNo DevNo.
 * @param[out] chnNo ChnNo.
 * @param[out] chnName Chnname.
 * @param[out] servId ServID (or Name).
 * @param[out] passwd Passwd.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetGb28181Cfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                                 char *servPort, char *devNo, char *chnNo, char *chnName,
                                 char *servId, char *passwd);
/**
 * @brief Writes the GPS position server configuration.
 *
 * Sends "VX+GPSSERVCFG=" with bEnable, ServIP, ServPort, DevNo, Passwd and
 * ReportTime pairs.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @param devNo DevNo, or null to leave it out.
 * @param passwd Passwd, or null to leave it out.
 * @param reportTime ReportTime, always sent.
 * @returnok
 */
VX_API uint32_t VX_SetGpsServCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                 const char *servIp, const char *servPort, const char *devNo,
                                 const char *passwd, int32_t reportTime);
/**
 * @brief Reads the GPS position server configuration.
 *
 * Sends "VX+GPSSERVCFG?"; the pairs behind "+GPSSERVCFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @param[out] devNo DevNo.
 * @param[out] passwd Passwd.
 * @param[out] reportTime ReportTime.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetGpsServCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                                 char *servPort, char *devNo, char *passwd, uint32_t *reportTime);
/**
 * @brief Writes the CMSV6 platform configuration.
 *
 * Sends "VX+CMSV6CFG=" with bEnable, ServIP, ServPort and DevNo pairs, and a
 * ReportTime pair only when @p reportTime is above 0.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @param devNo DevNo, or null to leave it out.
 * @param reportTime ReportTime; 0 or less leaves it out.
 * @returnok
 */
VX_API uint32_t VX_SetCmsv6Cfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                               const char *servIp, const char *servPort, const char *devNo,
                               int32_t reportTime);
/**
 * @brief Reads the CMSV6 platform configuration.
 *
 * Sends "VX+CMSV6CFG?"; the pairs behind "+CMSV6CFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @param[out] devNo DevNo.
 * @param[out] reportTime ReportTime.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetCmsv6Cfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                               char *servPort, char *devNo, uint32_t *reportTime);
/**
 * @brief Writes the PTYT platform configuration.
 *
 * Sends "VX+PTYTCFG=" with bEnable, ServIP, ServPort, DevNo, DevName,
 * DevPasswd and ReportTime pairs.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @param devNo DevNo, or null to leave it out.
 * @param devName DevName, or null to leave it out.
 * @param devPasswd DevPasswd, or null to leave it out.
 * @param reportTime ReportTime, always sent.
 * @returnok
 */
VX_API uint32_t VX_SetPtytCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                              const char *servIp, const char *servPort, const char *devNo,
                              const char *devName, const char *devPasswd, int32_t reportTime);
/**
 * @brief Reads the PTYT platform configuration.
 *
 * Sends "VX+PTYTCFG?"; the pairs behind "+PTYTCFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @param[out] devNo DevNo.
 * @param[out] devName DevName.
 * @param[out] devPasswd DevPasswd.
 * @param[out] reportTime ReportTime.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetPtytCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *servIp,
                              char *servPort, char *devNo, char *devName, char *devPasswd,
                              uint32_t *reportTime);
/**
 * @brief Writes the 0787SERV01 platform configuration.
 *
 * Sends "VX+0787SERV01CFG=" with bEnable, ServIP, ServPort, DevNo, Passwd and
 * ReportTime pairs.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @param devNo DevNo, or null to leave it out.
 * @param passwd Passwd, or null to leave it out.
 * @param reportTime ReportTime, always sent.
 * @returnok
 */
VX_API uint32_t VX_Set0787Serv01Cfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                    const char *servIp, const char *servPort, const char *devNo,
                                    const char *passwd, int32_t reportTime);
/**
 * @brief Reads the 0787SERV01 platform configuration.
 *
 * Sends "VX+0787SERV01CFG?"; the pairs behind "+0787SERV01CFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @param[out] devNo DevNo.
 * @param[out] passwd Passwd.
 * @param[out] reportTime ReportTime.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_Get0787Serv01Cfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable,
                                    char *servIp, char *servPort, char *devNo, char *passwd,
                                    uint32_t *reportTime);
/**
 * @brief Writes the LBS (location service) configuration.
 *
 * Sends "VX+LBSCFG=" with bEnable, LoginUrl, DevPasswd and ReportTime pairs.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param loginUrl LoginUrl, or null to leave it out.
 * @param devPasswd DevPasswd, or null to leave it out.
 * @param reportTime ReportTime, always sent.
 * @returnok
 */
VX_API uint32_t VX_SetLBSCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                             const char *loginUrl, const char *devPasswd, int32_t reportTime);
/**
 * @brief Reads the LBS (location service) configuration.
 *
 * Sends "VX+LBSCFG?"; the pairs behind "+LBSCFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] loginUrl LoginUrl.
 * @param[out] devPasswd DevPasswd.
 * @param[out] reportTime ReportTime.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetLBSCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable, char *loginUrl,
                             char *devPasswd, uint32_t *reportTime);
/**
 * @brief Writes the diagnostic (network check) server configuration.
 *
 * Sends "VX+DIAGNOSTICCFG=" with bEnable, ServIP and ServPort pairs.
 * @devrecord
 * @loginpwd
 * @param bEnable Enable flag.
 * @param servIp ServIP, or null to leave it out.
 * @param servPort ServPort, or null to leave it out.
 * @returnok
 */
VX_API uint32_t VX_SetNetCheckServCfg(VestraInfo *dev, const char *pwd, uint32_t bEnable,
                                      const char *servIp, const char *servPort);
/**
 * @brief Reads the diagnostic (network check) server configuration.
 *
 * Sends "VX+DIAGNOSTICCFG?"; the pairs behind "+DIAGNOSTICCFG:".
 * @devrecord
 * @loginpwd
 * @param[out] bEnable Enable flag.
 * @param[out] servIp ServIP.
 * @param[out] servPort ServPort.
 * @return 1 with status 1 when at least one pair was read; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetNetCheckServCfg(VestraInfo *dev, const char *pwd, uint32_t *bEnable,
                                      char *servIp, char *servPort);

/** @} */

/**
 * @defgroup vx_storage Storage, power, device logs, OSD
 * @ingroup vx_ops
 * @brief U-disk mode, formatting, factory reset, the device's own log,
 * reboot, power-off, power saving and the video OSD texts.
 *
 * Results and status numbers as in @ref vx_ops.
 * @{
 */

/**
 * @brief Makes the recorder show its storage as a USB disk.
 *
 * Sends "VX+UDISKEN=2".
 * @devrecord
 * @loginpwd
 * @returnok
 */
VX_API uint32_t VX_EnterDiskMode(VestraInfo *dev, const char *pwd);
/**
 * @brief Formats the recorder's storage.
 *
 * Sends "VX+MKFS=FAT32" (type 1) or "VX+MKFS=EXFAT" (type 2).
 * @devrecord
 * @loginpwd
 * @param fsType 1 or 2.
 * @returnok
 * @par Status
 * Another type sends nothing (after the login): status 0, error text
 * "fstype Error".
 */
VX_API uint32_t VX_FormatUdisk(VestraInfo *dev, const char *pwd, int32_t fsType);
/**
 * @brief Restores the factory settings.
 *
 * Sends "VX+FRESET=1".
 * @devrecord
 * @loginpwd
 * @returnok
 */
VX_API uint32_t VX_FReset(VestraInfo *dev, const char *pwd);
/**
 * @brief Sets the level of the recorder's own log.
 *
 * Sends "VX+LOGLEVEL=level" (decimal).
 * @devrecord
 * @loginpwd
 * @param level The level, as the device defines it.
 * @returnok
 */
VX_API uint32_t VX_SetDevLogLevel(VestraInfo *dev, const char *pwd, int32_t level);
/**
 * @brief Reads the level of the recorder's own log.
 *
 * Sends "VX+LOGLEVEL?"; the number behind "+LOGLEVEL:".
 * @devrecord
 * @loginpwd
 * @param[out] level The level.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_GetDevLogLevel(VestraInfo *dev, const char *pwd, uint32_t *level);
/**
 * @brief Makes the recorder export its own log.
 *
 * Sends "VX+LOGEXPORT"; where the log goes is the device's business.
 * @devrecord
 * @loginpwd
 * @returnok
 */
VX_API uint32_t VX_ExportDevLog(VestraInfo *dev, const char *pwd);
/**
 * @brief Reboots the recorder.
 *
 * Sends "VX+POWEROFF=2".
 * @devrecord
 * @loginpwd
 * @returnok
 * @par Log
 * `CtrlReboot[serial]` with the record's serial text, once logged in.
 */
VX_API uint32_t VX_CtrlReboot(VestraInfo *dev, const char *pwd);
/**
 * @brief Switches the recorder off.
 *
 * Sends "VX+POWEROFF=1".
 * @devrecord
 * @loginpwd
 * @returnok
 */
VX_API uint32_t VX_CtrlPowerOff(VestraInfo *dev, const char *pwd);
/**
 * @brief Puts the recorder into power saving.
 *
 * Sends "VX+POWERSAVE=1".
 * @devrecord
 * @loginpwd
 * @returnok
 */
VX_API uint32_t VX_CtrlPowerSave(VestraInfo *dev, const char *pwd);
/**
 * @brief Writes one video OSD entry.
 *
 * Sends "VX+VIDEOOSD" followed by the index, "=value,text" (the index is part
 * of the keyword, as in VIDEOOSD1).
 * @devrecord
 * @loginpwd
 * @param index OSD entry number.
 * @param value The entry's number.
 * @param text The entry's text.
 * @returnok
 */
VX_API uint32_t VX_SetVideoOsd(VestraInfo *dev, const char *pwd, int32_t index, int32_t value,
                               const char *text);
/**
 * @brief Reads one video OSD entry.
 *
 * Sends "VX+VIDEOOSD" with the index and "?"; the reply needs the line
 * "+VIDEOOSDn:value,text" for the same index n. The value is read as a
 * number; the text is what follows its comma (whatever the number of
 * digits), up to the line end.
 * @devrecord
 * @loginpwd
 * @param index OSD entry number.
 * @param[out] value The entry's number.
 * @param[out] text At most @p size - 1 characters, zero-padded to
 * @p size - 1; the last byte is never written.
 * @param size Size of @p text, at least 1.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 * @par Status
 * A @p size of 0 is refused without sending (after the login): status 0,
 * error text "text size 0", nothing written.
 * @par Log
 * `ParseCheckResp OK: readbuf=REPLY` once the reply is OK, and
 * `ParseGetVideoOsd OK` on success.
 */
VX_API uint32_t VX_GetVideoOsd(VestraInfo *dev, const char *pwd, int32_t index, uint32_t *value,
                               char *text, uint32_t size);

/** @} */

/**
 * @defgroup vx_data Data channel and raw commands
 * @ingroup vx_ops
 * @brief A numeric data-channel setting, numbered Base64 data packs, the
 * caller's own "VX+" lines, and raw command lines.
 *
 * Results and status numbers as in @ref vx_ops, with the exceptions given.
 * @{
 */

/**
 * @brief Sets the data channel's numeric setting.
 *
 * Sends "VX+DATAPTHREAD=value"; the reply must be OK and hold
 * "+DATAPTHREAD:" (its number is not handed back).
 * @devrecord
 * @loginpwd
 * @param value The setting, in decimal.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_SetDataPthread(VestraInfo *dev, const char *pwd, int32_t value);
/**
 * @brief Sends one numbered data pack as Base64.
 *
 * Sends "VX+BASE64=pack," followed by the Base64 text (RFC 4648, "=" padded)
 * of the data and CR LF, in a command area of 102432 bytes; a length of 0
 * sends the Base64 text of the four characters NULL. The caller splits the
 * data and numbers the packs.
 * @devrecord
 * @loginpwd
 * @param pack Pack number.
 * @param data The bytes; may be null only when @p length is 0.
 * @param length Number of bytes, 0 to #VX_DATA_PACK_MAX.
 * @return 1 when the reply is OK and its "+BASE64:" line echoes @p pack
 * (status 1); 0 on failure (@ref vx_ops).
 * @par Status
 * A negative length, a length over #VX_DATA_PACK_MAX, or null data with a
 * length are refused without sending (after the login): status 0, error text
 * "data pack refused: length outside 0 to 76800 or no data".
 * @par Log
 * `VX_SendDataPack: pack,length,command length`.
 */
VX_API uint32_t VX_SendDataPack(VestraInfo *dev, const char *pwd, int32_t pack,
                                const uint8_t *data, int32_t length);
/**
 * @brief Sends the caller's own "VX+" line and hands back the whole reply.
 *
 * The caller's text is cut at its first CR or LF (a NUL is written there, in
 * @p cmd itself) and sent with CR LF; the reply is read into
 * #VX_USER_REPLY_AREA bytes.
 * @devrecord
 * @loginpwd
 * @param[in,out] cmd The command line, starting "VX+"; shortened in place.
 * @param[out] reply Area of #VX_USER_REPLY_AREA bytes for the whole reply
 * (with its NUL); written only on success.
 * @return 1 when the reply is OK (status 1; the reply is also the error
 * text, cut at 1023 characters); 0 on failure (@ref vx_ops).
 * @par Status
 * A null @p cmd or one not starting "VX+" is refused without sending (after
 * the login): status 0, error text "cmd error".
 */
VX_API uint32_t VX_SendUserCmd(VestraInfo *dev, const char *pwd, char *cmd, char *reply);

/** @} */

/**
 * @defgroup vx_config Configuration text (INI and JSON)
 * @ingroup vx_ops
 * @brief Whole configuration requests as INI or JSON text, and a parser for
 * INI command texts.
 * @{
 */

/**
 * @brief Sends an INI configuration request.
 *
 * Sends "VX+UMSINI=text". Unlike the other operations the reply needs no
 * "OK" line: more than 4 bytes, a "+UMSINI:" line ended by CR LF, and a
 * payload shorter than @p size decide (an "Error:" reply that holds such a
 * line is taken).
 * @devrecord
 * @loginpwd
 * @param text The request, such as "Net.Apn=cmnet".
 * @param[out] answer Zero-filled area of @p size bytes; the payload is copied
 * without a terminator, untouched on failure.
 * @param size Size of @p answer; 0 or less always fails.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_DevCfgIniStr(VestraInfo *dev, const char *pwd, const char *text, char *answer,
                                int32_t size);
/**
 * @brief Sends a JSON configuration request.
 *
 * As VX_DevCfgIniStr(), sending "VX+UMSJSON=text" and reading "+UMSJSON:".
 * @devrecord
 * @loginpwd
 * @param text The JSON request.
 * @param[out] answer Zero-filled area of @p size bytes; the payload is copied
 * without a terminator, untouched on failure.
 * @param size Size of @p answer; 0 or less always fails.
 * @return 1 with status 1; 0 on failure (@ref vx_ops).
 */
VX_API uint32_t VX_DevCfgJsonStr(VestraInfo *dev, const char *pwd, const char *text, char *answer,
                                 int32_t size);

#define VX_INI_ITEMS    16  /**< Most entries of a #UmsIniCmd. */
#define VX_INI_NAME_LEN 32  /**< Size of a section or key name area. */

/** @brief One entry of an INI command text. */
typedef struct UmsIniItem {
    int32_t kind;                     /**< 2: valueText holds a value; 0: none (a query). */
    char    keyName[VX_INI_NAME_LEN]; /**< Key name, at most 31 characters (longer keys are cut). */
    char   *valueText;                /**< The library's heap text, or null; freed by VX_ReleaseUmsIniCmd(). */
} UmsIniItem;

/** @brief An INI command text ("Section.Key=value|.Key2=value"), broken up. */
typedef struct UmsIniCmd {
    int32_t    op;                    /**< Operation of the first entry: 0 query "=?", 1 set "=", 3 add "+=", 4 remove "-=". */
    int32_t    count;                 /**< Entries filled. */
    char       section[VX_INI_NAME_LEN]; /**< Section of the first entry (later entries' sections are skipped). */
    UmsIniItem items[VX_INI_ITEMS];   /**< The entries. */
} UmsIniCmd;

/**
 * @brief Parses an INI command text into a record.
 *
 * Spaces are removed first (also inside values). Entries are joined by "|";
 * the operation is taken from the first entry; values are copied to heap
 * texts unless the operation is a query. Parsing stops at the first malformed
 * entry, keeping the entries before it. No device, no lock.
 * @param text The INI command text.
 * @param[in,out] cmd Record, zero-filled by the caller before its first use;
 * a record passed again continues at its count.
 * @return 1 when at least one entry is filled; 0 when none is, an argument is
 * null, or @p cmd already holds #VX_INI_ITEMS entries (nothing is written then).
 */
VX_API uint32_t VX_UmsIniStr2IniCmd(const char *text, UmsIniCmd *cmd);
/**
 * @brief Releases the value texts of a parsed record.
 *
 * Frees the value text of all #VX_INI_ITEMS entries and clears the pointers;
 * @p cmd itself stays the caller's.
 * @param cmd The record, or null (nothing happens).
 */
VX_API void VX_ReleaseUmsIniCmd(UmsIniCmd *cmd);

/** @} */

/**
 * @defgroup vx_standard Standard set
 * @brief The function set of the national recorder standard, on one
 * library-owned record (VX_GetGBDev()) opened through its own model table.
 *
 * Call Init_Device() (or GetIDCode()) first, then the operations with the
 * login password (the fixed user "admin" is logged in automatically, as by
 * VX_Login()), UnInit_Device() or Release_Device() last. Results: 1 success,
 * 0 failure; the reason is written through @p status (a null status pointer
 * is allowed). The record's own status number is never changed.
 *
 * Model table of the set (table order, first attached wins): 5E31:000F,
 * 3A7C:0C06, 3A7C:0C07, all with the ID code "KQWZM", which the set takes
 * from the table and never asks the device for.
 *
 * Every call takes the library lock, so the set is safe beside the device
 * list's monitor.
 * @{
 */
#define VX_GB_DONE          1  /**< Done. */
#define VX_GB_NO_DEVICE     2  /**< No device: not open, cannot be opened, other ID code; for ReadDeviceResolution() and ReadDeviceBatteryDumpEnergy() also a refused or unreadable reply. */
#define VX_GB_LOGIN_FAILED  4  /**< The login failed. */
#define VX_GB_CLOCK_SET     5  /**< SyncDevTime(): clock set. */
#define VX_GB_CLOCK_REFUSED 6  /**< SyncDevTime(): clock refused. */
#define VX_GB_DISK_MODE     7  /**< SetMSDC(): U-disk mode entered. */
#define VX_GB_DISK_REFUSED  8  /**< SetMSDC(): U-disk mode refused. */
#define VX_GB_NO_ID_CODE    9  /**< Init_Device(): no ID code given. */

/**
 * @brief Opens the first attached recorder of the set's model table.
 *
 * A record open already is closed first (with UnInit_Device()); the record is
 * cleared, opened, configured and claimed, not logged in. Sends nothing.
 * @param[in,out] idCode "KQWZM" to check the recorder, or an empty text (at
 * least 6 bytes) to receive its ID code; null gives #VX_GB_NO_ID_CODE.
 * @param[out] status #VX_GB_DONE, #VX_GB_NO_DEVICE (nothing attached, or
 * another ID code: the record is closed again) or #VX_GB_NO_ID_CODE.
 * @return 1 on success, else 0.
 * @par Log
 * `[Init_Device]:  IDCode  `, then `[Init_Device]:  IDCode:CODE ` (or
 * `... IDCode:CODE Error  ` for a code that is not 5 characters,
 * `... IDCode is NULL  `), `[Init_Device]:  UnInit_Device  `,
 * `[Init_Device]:  Open_Device Failed  `,
 * `[Init_Device]:  IDCode  OURS!=GIVEN  `, and the open steps.
 */
VX_API int32_t Init_Device(char *idCode, int32_t *status);
/**
 * @brief The ID code of the open recorder, opening it first if needed.
 *
 * Sends nothing: the code is the model table's.
 * @param[out] idCode At least 6 bytes for the ID code and its NUL, or null.
 * @param[out] status #VX_GB_DONE or #VX_GB_NO_DEVICE.
 * @return 1 on success, else 0.
 */
VX_API int32_t GetIDCode(char *idCode, int32_t *status);
/**
 * @brief Reads the identity record.
 *
 * Sends "VX+GBCFG?" and fills @p info as VX_GetDevInfo() does (zeroed once
 * the device said OK); the record is also kept for WriteZFYInfo().
 * @param[out] info The identity.
 * @param password Login password.
 * @param[out] status #VX_GB_DONE, #VX_GB_NO_DEVICE, #VX_GB_LOGIN_FAILED;
 * not written when the device refuses or the reply cannot be read.
 * @return 1 on success, else 0 (a refused reply is left as the record's
 * error text).
 */
VX_API int32_t GetZFYInfo(ZFYInfo *info, const char *password, int32_t *status);
/**
 * @brief Writes the identity record.
 *
 * Sends "VX+GBCFG=..." as VX_SetDevInfo() does; an empty serial sends the one
 * the last successful GetZFYInfo() read.
 * @param info The identity.
 * @param password Login password.
 * @param[out] status #VX_GB_DONE, #VX_GB_NO_DEVICE, #VX_GB_LOGIN_FAILED;
 * not written when the device refuses.
 * @return 1 on success, else 0.
 */
VX_API int32_t WriteZFYInfo(const ZFYInfo *info, const char *password, int32_t *status);
/**
 * @brief Sets the recorder's clock to the host's UTC time.
 *
 * Sends "VX+SYSTIME=YYYYMMDDhhmmss" (UTC).
 * @param password Login password.
 * @param[out] status #VX_GB_CLOCK_SET, #VX_GB_CLOCK_REFUSED, #VX_GB_NO_DEVICE
 * or #VX_GB_LOGIN_FAILED.
 * @return 1 on success, else 0.
 */
VX_API int32_t SyncDevTime(const char *password, int32_t *status);
/**
 * @brief Switches the recorder to U-disk mode and lets it go.
 *
 * Sends "VX+UDISKEN=2"; once the device accepted, UnInit_Device() runs: the
 * record is logged out, closed and cleared.
 * @param password Login password.
 * @param[out] status #VX_GB_DISK_MODE, #VX_GB_DISK_REFUSED, #VX_GB_NO_DEVICE
 * or #VX_GB_LOGIN_FAILED.
 * @return 1 on success, else 0.
 */
VX_API int32_t SetMSDC(const char *password, int32_t *status);
/**
 * @brief Reads the main stream's resolution.
 *
 * Sends "VX+MVEINFO?"; field 1 "WxH" of "+MVEINFO:" (a field without a
 * lower-case x leaves both outputs untouched).
 * @param[out] width Width in pixels.
 * @param[out] height Height in pixels.
 * @param password Login password.
 * @param[out] status #VX_GB_DONE, #VX_GB_NO_DEVICE (also a refused or
 * unreadable reply) or #VX_GB_LOGIN_FAILED.
 * @return 1 on success, else 0.
 */
VX_API int32_t ReadDeviceResolution(int32_t *width, int32_t *height, const char *password,
                                    int32_t *status);
/**
 * @brief Reads the battery level.
 *
 * Sends "VX+BATVAL?"; the number behind "+BATVAL:". No 20 s limit, unlike
 * VX_GetBatVal().
 * @param[out] level The battery level.
 * @param password Login password.
 * @param[out] status #VX_GB_DONE, #VX_GB_NO_DEVICE (also a refused or
 * unreadable reply) or #VX_GB_LOGIN_FAILED.
 * @return 1 on success, else 0.
 */
VX_API int32_t ReadDeviceBatteryDumpEnergy(int32_t *level, const char *password, int32_t *status);
/**
 * @brief Logs out, closes and clears the record.
 *
 * Sends "VX+LOGOUT" (nothing is sent when the record is closed), then closes
 * the record and zero-fills it.
 * @param[out] status Always #VX_GB_DONE.
 * @return 1.
 * @par Log
 * `[UnInit_Device]:`.
 */
VX_API int32_t UnInit_Device(int32_t *status);
/**
 * @brief As UnInit_Device().
 * @param[out] status Always #VX_GB_DONE.
 * @return 1.
 */
VX_API int32_t Release_Device(int32_t *status);

/** @} */

/**
 * @defgroup vx_gbcmd Standard-mode maintenance commands
 * @ingroup vx_standard
 * @brief Battery, download mode and power-off for recorders of model VX005,
 * chosen by a serial text.
 *
 * The recorder is the first VX005 whose USB serial (the part before "_", or
 * the whole string without one) contains the given text; an empty text takes
 * the first with a readable serial. The search ends at the first match, even
 * when claiming it fails. Each call opens its own record, logs in as "admin",
 * does its job, logs out and releases the record. After
 * GBCmd_InitCriticalSection() the calls are serialised by a lock of their own;
 * they always take the library lock for the bus and the device. Results: 1
 * success, 0 failure; the reason is written through @p status (a null status
 * pointer is allowed).
 * @{
 */
#define VX_GBCMD_DONE           0    /**< Done. */
#define VX_GBCMD_NO_RECORDER  (-1)   /**< No VX005 with a matching readable serial (or a null serial text). */
#define VX_GBCMD_LOGIN_REFUSED (-2)  /**< The recorder refused the login. */
#define VX_GBCMD_NOT_DELIVERED (-3)  /**< A shell line could not be written. */
#define VX_GBCMD_CLAIM_FAILED (-4)   /**< Setting the configuration or claiming the interface failed. */
#define VX_GBCMD_NO_MEMORY    (-5)   /**< No memory for the record (log `malloc Error`). */
#define VX_GBCMD_BATTERY_REFUSED (-6) /**< The battery query was refused or its reply unreadable. */
#define VX_GBCMD_NOT_SUPPORTED (-7)  /**< GBCmd_EnterStandByMode(): not supported. */

/** @brief Makes the maintenance commands' own lock ready: from now on they
 * run one at a time. */
VX_API void    GBCmd_InitCriticalSection(void);
/** @brief Stops using the maintenance commands' own lock (calls already
 * holding it finish normally). */
VX_API void    GBCmd_UnInitCriticalSection(void);
/**
 * @brief Reads a recorder's battery level.
 *
 * Sends "VX+BATVAL?"; the number behind "+BATVAL:". No 20 s limit.
 * @param serial Serial text that selects the recorder (see @ref vx_gbcmd).
 * @param password Login password.
 * @param[out] level The battery level.
 * @param[out] status #VX_GBCMD_DONE, #VX_GBCMD_NO_RECORDER,
 * #VX_GBCMD_LOGIN_REFUSED, #VX_GBCMD_CLAIM_FAILED, #VX_GBCMD_NO_MEMORY or
 * #VX_GBCMD_BATTERY_REFUSED.
 * @return 1 on success, else 0.
 * @par Log
 * `GBCmd_GetBatteryVal Start`.
 */
VX_API int32_t GBCmd_GetBatteryVal(const char *serial, const char *password, uint32_t *level,
                                   int32_t *status);
/**
 * @brief Puts a recorder into download mode.
 *
 * Sends two "VX+SYSCMD=" lines, each carrying a shell line in Base64, 300 ms
 * apart; no reply is read. The recorder then leaves the bus (the logout that
 * follows may fail quietly).
 * @param serial Serial text that selects the recorder (see @ref vx_gbcmd).
 * @param password Login password.
 * @param[out] status #VX_GBCMD_DONE, #VX_GBCMD_NO_RECORDER,
 * #VX_GBCMD_LOGIN_REFUSED, #VX_GBCMD_NOT_DELIVERED, #VX_GBCMD_CLAIM_FAILED or
 * #VX_GBCMD_NO_MEMORY.
 * @return 1 when both lines were written, else 0.
 */
VX_API int32_t GBCmd_EnterDownLoadMode(const char *serial, const char *password, int32_t *status);
/**
 * @brief Switches a recorder off.
 *
 * Sends one "VX+SYSCMD=" line carrying a shell line in Base64; no reply is
 * read.
 * @param serial Serial text that selects the recorder (see @ref vx_gbcmd).
 * @param password Login password.
 * @param[out] status #VX_GBCMD_DONE, #VX_GBCMD_NO_RECORDER,
 * #VX_GBCMD_LOGIN_REFUSED, #VX_GBCMD_NOT_DELIVERED, #VX_GBCMD_CLAIM_FAILED or
 * #VX_GBCMD_NO_MEMORY.
 * @return 1 when the line was written, else 0.
 */
VX_API int32_t GBCmd_PowerOff(const char *serial, const char *password, int32_t *status);
/**
 * @brief Not supported.
 *
 * Sends nothing and takes no lock.
 * @param serial Unused.
 * @param password Unused.
 * @param[out] status Always #VX_GBCMD_NOT_SUPPORTED.
 * @return 0.
 */
VX_API int32_t GBCmd_EnterStandByMode(const char *serial, const char *password, int32_t *status);

/** @} */

/**
 * @defgroup vx_decrypt Recording decryption
 * @brief Encrypted AVI recordings and single key frames back to plain video.
 *
 * No device, no lock, no status number: results and the log only; any thread
 * may call at any time. Key text: at most 8 characters, zero-extended to the
 * 8-byte DES key; a longer (or null) text is refused. A wrong key is not
 * detected: frames decrypt to noise. The encrypted stretch of a key frame is
 * bytes 24 to 279 of its data (32 DES blocks, ECB).
 * @{
 */

/**
 * @brief Writes a decrypted copy of an encrypted AVI recording.
 *
 * Copies @p inPath to @p outPath (replaced if present) and decrypts the copy
 * in place: its marker byte becomes 0 and bytes 24 to 279 of every frame with
 * nonzero index flags are decrypted. @p inPath is never modified. Paths are
 * in the system's narrow code page.
 * @param inPath The encrypted recording.
 * @param outPath Where the decrypted recording goes; must name another file.
 * @param keyText The key text.
 * @return 1 when at least one frame was decrypted. 0 otherwise: a plain copy
 * is left when the input is not encrypted (or the copy cannot be opened for
 * update); no output is left when no frame could be decrypted (none has index
 * flags, or a key frame runs past the end of the file); nothing is written
 * for a refused key, an unreadable input, a recording without video frames or
 * a failed copy.
 * @par Log
 * `VX_FileDecrypt start`, `DecryptVideoFileEx start`, then one of
 * `AVI_open_input_file Error`, `video_frames=0 Error`, `CopyFile:PATH Failed`,
 * `infile no encrypt`, `OpenFile:PATH Failed`; two lines per frame decrypted
 * (`[i/frames: n] ...`), `frame i: read n of 280 bytes` for a short frame, and
 * `decryptcount=n` (-1 on failure).
 */
VX_API int32_t VX_FileDecrypt(const char *inPath, const char *outPath, const char *keyText);

/**
 * @brief Decrypts one encrypted key frame.
 *
 * The frame is the data of one video chunk, without its 8-byte header. It
 * must hold at least 280 bytes and start 00 00 00 01 67 (H.264) or
 * 00 00 00 01 46 (H.265). It is not checked whether the frame is encrypted at
 * all: a plain frame comes back scrambled.
 * @param frame The encrypted frame.
 * @param length Its length in bytes.
 * @param[out] out At least @p length bytes for the plain frame; may be
 * @p frame itself.
 * @param keyText The key text.
 * @return 1 when @p out holds the plain frame; else 0 with @p out untouched.
 * @par Log
 * `DecryptVideoFrame start` (not for a refused key), and `des_decrypt start`
 * on success.
 */
VX_API int32_t VX_FrameDecrypt(const uint8_t *frame, int32_t length, uint8_t *out,
                               const char *keyText);

/** @} */

/**
 * @defgroup vx_timezone Time zones
 * @brief A fixed catalogue of 415 IANA time zones (Region/Location), grouped
 * by region and ISO 3166 country code.
 *
 * No device, no lock, no log. Indexes are stable: rows never move. The block
 * is little-endian: signed 32-bit indexes, zero-padded names. Filled slots
 * come first; empty slots are zero in every byte. Rows are kept as published,
 * repetitions included (the first match wins in GetTimeZoneIndex()).
 * @{
 */
#define VX_TZ_REGIONS        9       /**< Number of regions. */
#define VX_TZ_COUNTRY_SLOTS  54      /**< Country slots per region. */
#define VX_TZ_ZONE_SLOTS     32      /**< Zone slots per country. */
#define VX_TZ_BLOCK_SIZE     511416  /**< Size of the whole catalogue block in bytes. */
#define VX_TZ_TEXT_MIN       64      /**< Room GetTimeZoneStr() needs in its output. */

/** @brief One zone slot (32 bytes). */
typedef struct TimeZoneCity {
    int32_t index;                 /**< Index within its country (its position), 0 in an empty slot. */
    char    location[28];          /**< Location part of the name: "Kolkata", "Argentina/Buenos_Aires". */
} TimeZoneCity;

/** @brief One country slot (1052 bytes). */
typedef struct TimeZoneCountry {
    int32_t      index;            /**< Index within its region (its position), 0 in an empty slot. */
    char         code[24];         /**< ISO 3166 two-letter code. */
    TimeZoneCity cities[VX_TZ_ZONE_SLOTS]; /**< The zone slots. */
} TimeZoneCountry;

/** @brief One region (56824 bytes). */
typedef struct TimeZoneRegion {
    int32_t         index;         /**< Index of the region (its position), 0 to 8. */
    char            name[12];      /**< "Asia", "America", ... */
    TimeZoneCountry countries[VX_TZ_COUNTRY_SLOTS]; /**< The country slots. */
} TimeZoneRegion;

/**
 * @brief Copies the whole catalogue.
 * @param[out] dest #VX_TZ_BLOCK_SIZE bytes, i.e. #VX_TZ_REGIONS
 * #TimeZoneRegion records; null is ignored.
 */
VX_API void GetAllTimeZone(void *dest);

/**
 * @brief The text "code/Region/Location" of three indexes.
 *
 * Empty slots are not refused: they give empty parts, e.g. "/Antarctica/"
 * for (3, 1, 0). Indexes (0, 9, 0) give "CN/Asia/Shanghai".
 * @param region Region index, 0 to #VX_TZ_REGIONS - 1.
 * @param country Country slot, 0 to #VX_TZ_COUNTRY_SLOTS - 1.
 * @param city Zone slot, 0 to #VX_TZ_ZONE_SLOTS - 1.
 * @param[out] out At least #VX_TZ_TEXT_MIN bytes.
 * @return 1 with the text; 0, @p out untouched, when an index is out of range
 * or @p out is null.
 */
VX_API int32_t GetTimeZoneStr(int32_t region, int32_t country, int32_t city, char *out);

/**
 * @brief Finds the indexes of a "Region/Location" name.
 *
 * Exact, case-sensitive; the first match in catalogue order wins. The
 * country code is no part of the name, so a GetTimeZoneStr() text is not
 * found.
 * @param name The name, such as "America/Argentina/Buenos_Aires".
 * @param[out] region Region index; -1 when the region is unknown.
 * @param[out] country Country slot; -1 when not found.
 * @param[out] city Zone slot; 1 (not -1) when not found.
 * @return 1 when found; 0 otherwise (the outputs then hold region -1 or the
 * region found, country -1, city 1), and when @p name or an output is null.
 */
VX_API int32_t GetTimeZoneIndex(const char *name, int32_t *region, int32_t *country,
                                int32_t *city);

/** @} */

#ifdef __cplusplus
}
#endif

#endif /* LIBVESTRA_H */
