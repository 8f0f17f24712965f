// Every device operation's row: the only place a keyword is spelled. The
// command line and the reply key are made from it ("DEVNAME" gives
// "VX+DEVNAME?\r\n", "VX+DEVNAME=...\r\n" and "+DEVNAME:").
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
inline constexpr Row kGetDevInfo{"GBCFG", Form::Get, FieldList, ',', true, 0, kArea, kArea,
                                 Texts::AsGiven, nullptr, nullptr, /*clear_outs=*/true};
inline constexpr Row kSetDevInfo{"GBCFG", Form::Set};
inline constexpr Row kGetDevName{"DEVNAME", Form::Get, RawCopy};
inline constexpr Row kSetDevName{"DEVNAME", Form::Set};
inline constexpr Row kGetDevUid{"UID", Form::Get, RawCopy};
inline constexpr Row kGetDevUuid{"UUID", Form::Get, RawCopy};
inline constexpr Row kGetDevVid{"VID", Form::Get, RawCopy};
inline constexpr Row kGetDevDid{"DID", Form::Get, RawCopy};
inline constexpr Row kGetDevTime{"SYSTIME", Form::Get, FieldList};
inline constexpr Row kSetDevTime{"SYSTIME", Form::Set};
inline constexpr Row kGetDevUser{"USER", Form::Get, RawCopy};
inline constexpr Row kSetDevUser{"USER", Form::Set, kOkOnly, ':'};
inline constexpr Row kGetBatVal{"BATVAL", Form::Get, Number};
inline constexpr Row kGetMasterVe{"MVEINFO", Form::Get, FieldList};
inline constexpr Row kGetSlaveVe{"SVEINFO", Form::Get, FieldList};
inline constexpr Row kGetRecordPwd{"RECVPWD", Form::Get, RawCopy};
inline constexpr Row kSetRecordPwd{"RECVPWD", Form::Set};

// ---- Network, access points, switches -------------------------------------
inline constexpr Row kGetApn{"APN", Form::Get, RawCopy};
inline constexpr Row kSetApn{"APN", Form::Set, kOkOnly, ',', true, 0, kArea, kArea, Texts::NullWord};
inline constexpr Row kGetVpn{"VPN", Form::Get, FieldList};
inline constexpr Row kSetVpn{"VPN", Form::Set, kOkOnly, ',', true, 0, kArea, kArea, Texts::NullWord};
inline constexpr Row kGetServAddr{"SERVADDR", Form::Get, FieldList};
inline constexpr Row kSetServAddr{"SERVADDR", Form::Set, kOkOnly, ':'};
inline constexpr Row kGetDevSsid{"SSID", Form::Get, RawCopy};
inline constexpr Row kSetDevSsid{"SSID", Form::Set};
inline constexpr Row kAddAp{"APADD", Form::Set, kOkOnly, ':'};
inline constexpr Row kDelAp{"APDEL", Form::Set, Contains, ',', true, VX_STATUS_AP_NOT_DELETED};
inline constexpr Row kSetSelAp{"APSEL", Form::Set, Contains, ',', true, VX_STATUS_AP_NOT_SELECTED};
// Devices answer the selection query under "+APSEL:"; older ones under "+APLIST:".
inline constexpr Row kGetSelAp{"APSEL", Form::Get, NonEmpty, ',', true, VX_STATUS_AP_EMPTY_SEL,
                               kArea, kArea, Texts::AsGiven, "APLIST"};
inline constexpr Row kGetApList{"APLIST", Form::Get, NonEmpty, ',', true, VX_STATUS_AP_EMPTY_LIST,
                                2 * kArea, 2 * kArea};
inline constexpr Row kGetUDiskAuthEn{"UDISKAUTHEN", Form::Get, Number};
inline constexpr Row kSetUDiskAuthEn{"UDISKAUTHEN", Form::Set};
inline constexpr Row kGetPfpttEn{"PFPTTEN", Form::Get, Number};
inline constexpr Row kSetPfpttEn{"PFPTTEN", Form::Set};
inline constexpr Row kGetReportTime{"SERVHEARTBEAT", Form::Get, Number};
inline constexpr Row kSetReportTime{"SERVHEARTBEAT", Form::Set};
inline constexpr Row kGetGpsEn{"GPSEN", Form::Get, Number};
inline constexpr Row kSetGpsEn{"GPSEN", Form::Set};

// ---- Platform service configurations --------------------------------------
inline constexpr Service kTalkBack{{"ServIP", "ServPort", "DevNo", "DevName", "DevPasswd"}, 5,
                                   Report::None, false};
inline constexpr Service kGb28181{
    {"ServIP", "ServPort", "DevNo", "ChnNo", "Chnname", "ServID", "Passwd"}, 7, Report::None, true};
inline constexpr Service kGpsServ{{"ServIP", "ServPort", "DevNo", "Passwd"}, 4, Report::Always, false};
inline constexpr Service kCmsv6{{"ServIP", "ServPort", "DevNo"}, 3, Report::Positive, false};
inline constexpr Service kPtyt{{"ServIP", "ServPort", "DevNo", "DevName", "DevPasswd"}, 5,
                               Report::Always, false};
inline constexpr Service k0787Serv01{{"ServIP", "ServPort", "DevNo", "Passwd"}, 4, Report::Always,
                                     false};
inline constexpr Service kLbs{{"LoginUrl", "DevPasswd"}, 2, Report::Always, false};
inline constexpr Service kNetCheck{{"ServIP", "ServPort"}, 2, Report::None, false};

#define VX_SERVICE_ROWS(Name, Keyword, Svc)                                                    \
    inline constexpr Row kGet##Name{Keyword, Form::Get, KeyedList, ',', true, 0, kArea, kArea, \
                                    Texts::AsGiven, nullptr, &(Svc)};                         \
    inline constexpr Row kSet##Name{Keyword, Form::Set, kOkOnly, ',', true, 0, kArea, kArea,  \
                                    Texts::AsGiven, nullptr, &(Svc)};
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
inline constexpr Row kEnterDiskMode{"UDISKEN", Form::Set};
inline constexpr Row kFormatUdisk{"MKFS", Form::Set};
inline constexpr Row kFReset{"FRESET", Form::Set};
inline constexpr Row kGetLogLevel{"LOGLEVEL", Form::Get, Number};
inline constexpr Row kSetLogLevel{"LOGLEVEL", Form::Set};
inline constexpr Row kExportLog{"LOGEXPORT", Form::Bare};
inline constexpr Row kPowerOff{"POWEROFF", Form::Set};  // 1 powers off, 2 reboots
inline constexpr Row kPowerSave{"POWERSAVE", Form::Set};
inline constexpr Row kGetVideoOsd{"VIDEOOSD", Form::Get, Osd};  // keyword carries the index
inline constexpr Row kSetVideoOsd{"VIDEOOSD", Form::Set};

// ---- Data channel, configuration text --------------------------------------
inline constexpr Row kDataPthread{"DATAPTHREAD", Form::Set, KeyPresent};
inline constexpr std::size_t kDataPackArea = 102432;
inline constexpr Row kDataPack{"BASE64", Form::Set, EchoNumber, ',', true, 0, kDataPackArea};
inline constexpr Row kIniText{"UMSINI", Form::Set, ConfigText, ',', false};
inline constexpr Row kJsonText{"UMSJSON", Form::Set, ConfigText, ',', false};
// clang-format on

}  // namespace vx::ops::rows
