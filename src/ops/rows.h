// Every command line's row: the only place a keyword is spelled. The command
// line and the reply key are made from it ("DEVNAME" gives "VX+DEVNAME?\r\n",
// "VX+DEVNAME=...\r\n" and "+DEVNAME:"). Plain data: session/, devlist/ and
// standard/ read their rows here too, and tools read them without linking
// the library's internals.
#pragma once

#include "LibVestra.h"
#include "ops/op.h"

namespace vx::ops::rows {

// The rules by their short names, for the rows below.
constexpr Rule RawCopy = Rule::RawCopy, Number = Rule::Number, FieldList = Rule::FieldList,
               KeyedList = Rule::KeyedList, Osd = Rule::Osd, ConfigText = Rule::ConfigText,
               Contains = Rule::Contains, NonEmpty = Rule::NonEmpty, KeyPresent = Rule::KeyPresent,
               EchoNumber = Rule::EchoNumber;
constexpr Rule kOkOnly = Rule::None;

// ---- Identity, clock, account, device information -------------------------
// clang-format off
inline constexpr Row kGetDevInfo{.key = "GBCFG", .form = Form::Get, .rule = FieldList, .clear_outs = true};
inline constexpr Row kSetDevInfo{.key = "GBCFG", .form = Form::Set};
inline constexpr Row kGetDevName{.key = "DEVNAME", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kSetDevName{.key = "DEVNAME", .form = Form::Set};
inline constexpr Row kGetDevUid{.key = "UID", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kGetDevUuid{.key = "UUID", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kGetDevVid{.key = "VID", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kGetDevDid{.key = "DID", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kGetDevTime{.key = "SYSTIME", .form = Form::Get, .rule = FieldList};
inline constexpr Row kSetDevTime{.key = "SYSTIME", .form = Form::Set};
inline constexpr Row kGetDevUser{.key = "USER", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kSetDevUser{.key = "USER", .form = Form::Set, .separator = ':'};
inline constexpr Row kGetBatVal{.key = "BATVAL", .form = Form::Get, .rule = Number};
inline constexpr Row kGetMasterVe{.key = "MVEINFO", .form = Form::Get, .rule = FieldList};
inline constexpr Row kGetSlaveVe{.key = "SVEINFO", .form = Form::Get, .rule = FieldList};
inline constexpr Row kGetRecordPwd{.key = "RECVPWD", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kSetRecordPwd{.key = "RECVPWD", .form = Form::Set};

// ---- Network, access points, switches -------------------------------------
inline constexpr Row kGetApn{.key = "APN", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kSetApn{.key = "APN", .form = Form::Set, .texts = Texts::NullWord};
inline constexpr Row kGetVpn{.key = "VPN", .form = Form::Get, .rule = FieldList};
inline constexpr Row kSetVpn{.key = "VPN", .form = Form::Set, .texts = Texts::NullWord};
inline constexpr Row kGetServAddr{.key = "SERVADDR", .form = Form::Get, .rule = FieldList};
inline constexpr Row kSetServAddr{.key = "SERVADDR", .form = Form::Set, .separator = ':'};
inline constexpr Row kGetDevSsid{.key = "SSID", .form = Form::Get, .rule = RawCopy};
inline constexpr Row kSetDevSsid{.key = "SSID", .form = Form::Set};
inline constexpr Row kAddAp{.key = "APADD", .form = Form::Set, .separator = ':'};
inline constexpr Row kDelAp{.key = "APDEL", .form = Form::Set, .rule = Contains, .special = VX_STATUS_AP_NOT_DELETED};
inline constexpr Row kSetSelAp{.key = "APSEL", .form = Form::Set, .rule = Contains, .special = VX_STATUS_AP_NOT_SELECTED};
// Devices answer the selection query under "+APSEL:"; older ones under "+APLIST:".
inline constexpr Row kGetSelAp{.key = "APSEL", .form = Form::Get, .rule = NonEmpty, .special = VX_STATUS_AP_EMPTY_SEL, .fallback_key = "APLIST"};
inline constexpr Row kGetApList{.key = "APLIST", .form = Form::Get, .rule = NonEmpty, .special = VX_STATUS_AP_EMPTY_LIST, .command = 2 * kArea, .reply = 2 * kArea};
inline constexpr Row kGetUDiskAuthEn{.key = "UDISKAUTHEN", .form = Form::Get, .rule = Number};
inline constexpr Row kSetUDiskAuthEn{.key = "UDISKAUTHEN", .form = Form::Set};
inline constexpr Row kGetPfpttEn{.key = "PFPTTEN", .form = Form::Get, .rule = Number};
inline constexpr Row kSetPfpttEn{.key = "PFPTTEN", .form = Form::Set};
inline constexpr Row kGetReportTime{.key = "SERVHEARTBEAT", .form = Form::Get, .rule = Number};
inline constexpr Row kSetReportTime{.key = "SERVHEARTBEAT", .form = Form::Set};
inline constexpr Row kGetGpsEn{.key = "GPSEN", .form = Form::Get, .rule = Number};
inline constexpr Row kSetGpsEn{.key = "GPSEN", .form = Form::Set};

// ---- Platform service configurations --------------------------------------
inline constexpr Service kTalkBack{
    .fields = {"ServIP", "ServPort", "DevNo", "DevName", "DevPasswd"}, .count = 5};
inline constexpr Service kGb28181{
    .fields = {"ServIP", "ServPort", "DevNo", "ChnNo", "Chnname", "ServID", "Passwd"},
    .count = 7,
    .servid_as_name = true};
inline constexpr Service kGpsServ{
    .fields = {"ServIP", "ServPort", "DevNo", "Passwd"}, .count = 4, .report = Report::Always};
inline constexpr Service kCmsv6{
    .fields = {"ServIP", "ServPort", "DevNo"}, .count = 3, .report = Report::Positive};
inline constexpr Service kPtyt{.fields = {"ServIP", "ServPort", "DevNo", "DevName", "DevPasswd"},
                               .count = 5,
                               .report = Report::Always};
inline constexpr Service k0787Serv01{
    .fields = {"ServIP", "ServPort", "DevNo", "Passwd"}, .count = 4, .report = Report::Always};
inline constexpr Service kLbs{
    .fields = {"LoginUrl", "DevPasswd"}, .count = 2, .report = Report::Always};
inline constexpr Service kNetCheck{.fields = {"ServIP", "ServPort"}, .count = 2};

#define VX_SERVICE_ROWS(Name, Keyword, Svc)                                                     \
    inline constexpr Row kGet##Name{                                                            \
        .key = (Keyword), .form = Form::Get, .rule = KeyedList, .service = &(Svc)};             \
    inline constexpr Row kSet##Name{.key = (Keyword), .form = Form::Set, .service = &(Svc)};
VX_SERVICE_ROWS(TalkBack, "TALKBACKCFG", kTalkBack)
VX_SERVICE_ROWS(Gb28181, "GB28181CFG", kGb28181)
VX_SERVICE_ROWS(GpsServ, "GPSSERVCFG", kGpsServ)
VX_SERVICE_ROWS(Cmsv6, "CMSV6CFG", kCmsv6)
VX_SERVICE_ROWS(Ptyt, "PTYTCFG", kPtyt)
VX_SERVICE_ROWS(0787Serv01, "0787SERV01CFG", k0787Serv01)
VX_SERVICE_ROWS(Lbs, "LBSCFG", kLbs)
VX_SERVICE_ROWS(NetCheck, "DIAGNOSTICCFG", kNetCheck)
#undef VX_SERVICE_ROWS

// ---- Storage, power, device logs, OSD --------------------------------------
inline constexpr Row kEnterDiskMode{.key = "UDISKEN", .form = Form::Set};
inline constexpr Row kFormatUdisk{.key = "MKFS", .form = Form::Set};
inline constexpr Row kFReset{.key = "FRESET", .form = Form::Set};
inline constexpr Row kGetLogLevel{.key = "LOGLEVEL", .form = Form::Get, .rule = Number};
inline constexpr Row kSetLogLevel{.key = "LOGLEVEL", .form = Form::Set};
inline constexpr Row kExportLog{.key = "LOGEXPORT", .form = Form::Bare};
inline constexpr Row kPowerOff{.key = "POWEROFF", .form = Form::Set};  // 1 powers off, 2 reboots
inline constexpr Row kPowerSave{.key = "POWERSAVE", .form = Form::Set};
inline constexpr Row kGetVideoOsd{.key = "VIDEOOSD", .form = Form::Get, .rule = Osd};  // keyword carries the index
inline constexpr Row kSetVideoOsd{.key = "VIDEOOSD", .form = Form::Set};

// ---- Data channel, configuration text --------------------------------------
inline constexpr Row kDataPthread{.key = "DATAPTHREAD", .form = Form::Set, .rule = KeyPresent};
inline constexpr std::size_t kDataPackArea = 102432;
inline constexpr Row kDataPack{.key = "BASE64", .form = Form::Set, .rule = EchoNumber, .command = kDataPackArea};
inline constexpr Row kIniText{.key = "UMSINI", .form = Form::Set, .rule = ConfigText, .check_ok = false};
inline constexpr Row kJsonText{.key = "UMSJSON", .form = Form::Set, .rule = ConfigText, .check_ok = false};

// ---- Session, device list, standard set -----------------------------------
// Their replies are read by their own steps (session/, devlist/, standard/):
// a login succeeds when "+KEY:" is followed by kSuccessWord.
inline constexpr const char *kSuccessWord = "Sucess";
inline constexpr Row kLogin{.key = "LOGIN", .form = Form::Set, .separator = ':'};  // user:digest
inline constexpr Row kGetLoginId{.key = "LOGINID", .form = Form::Get};
inline constexpr Row kLoginPwd{.key = "LOGINPWD", .form = Form::Set};  // the text as given
inline constexpr Row kLogout{.key = "LOGOUT", .form = Form::Bare};
inline constexpr Row kGetIdCode{.key = "GBIDCODE", .form = Form::Get};
inline constexpr Row kGetUdiskStat{.key = "PCUDISKSTAT", .form = Form::Get};
inline constexpr Row kShellLine{.key = "SYSCMD", .form = Form::Set};  // Base64; no reply read
// clang-format on

}  // namespace vx::ops::rows
