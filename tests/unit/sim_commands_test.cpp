// Self-test of the virtual recorder's commands: each family answers with its
// documented reply forms and keeps state from one command to the next.
#include "transport/models.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "vsim.h"

namespace {

const std::string kDigest(32, 'A');  // a digest the account command accepts

struct Step {
    std::string command;  // without "\r\n"
    std::string reply;
};

struct Family {
    const char *name;
    std::vector<Step> steps;  // run after a login, on a fresh recorder
};

std::string ok(const std::string &key, const std::string &payload) {
    return "+" + key + ":" + payload + "\r\nOK\r\n";
}
const std::string kPara = "Error: para is error\r\n";

const std::vector<Family> kFamilies = {
    {"identity and clock",
     {{"VX+DEVNAME?", ok("DEVNAME", "VX007 A1B2C3")},
      {"VX+DEVNAME=Front desk", ok("DEVNAME", "Front desk")},
      {"VX+DEVNAME?", ok("DEVNAME", "Front desk")},
      {"VX+UID?", ok("UID", "00A1B2C3")},
      {"VX+VID?", ok("VID", "3A7C")},
      {"VX+DID?", ok("DID", "0C07")},
      {"VX+UID=1", kPara},
      {"VX+SYSTIME?", ok("SYSTIME", "20240101000000,0,0,UTC")},
      {"VX+SYSTIME=20250102030405,0,8,CST", ok("SYSTIME", "20250102030405,0,8,CST")},
      {"VX+SYSTIME=20250102030406", ok("SYSTIME", "20250102030406,0,8,CST")},
      {"VX+SYSTIME=2025010203040", kPara},
      {"VX+SYSTIME=20250102030406,0,x,CST", kPara},
      {"VX+SYSTIME?", ok("SYSTIME", "20250102030406,0,8,CST")},
      {"VX+USER=officer:" + kDigest + ":" + kDigest, ok("USER", "officer")},
      {"VX+USER=officer:short:" + kDigest, kPara},
      {"VX+USER?", ok("USER", "officer")},
      {"VX+GBCFG?", ok("GBCFG", "A1B2C3,000001,Officer,320100000000,Patrol unit")},
      {"VX+GBCFG=A1B2C3,000042,Lee,320100000001,Night shift",
       ok("GBCFG", "A1B2C3,000042,Lee,320100000001,Night shift")},
      {"VX+GBCFG=A1B2C3,000042", kPara},
      {"VX+GBCFG?", ok("GBCFG", "A1B2C3,000042,Lee,320100000001,Night shift")},
      {"VX+BATVAL?", ok("BATVAL", "87")},
      {"VX+MVEINFO?", ok("MVEINFO", "1920x1080,30,4096")},
      {"VX+SVEINFO?", ok("SVEINFO", "640x360,15,512")},
      {"VX+RECVPWD=1234", ok("RECVPWD", "1234")},
      {"VX+RECVPWD=12ab", kPara},
      {"VX+RECVPWD?", ok("RECVPWD", "1234")}}},
    {"network and switches",
     {{"VX+APN=NULL", ok("APN", "NULL")},
      {"VX+APN?", ok("APN", "NULL")},
      {"VX+VPN?", ok("VPN", "NULL,NULL,NULL")},
      {"VX+VPN=NULL,vpn.example,secret", ok("VPN", "NULL,vpn.example,secret")},
      {"VX+VPN=a,b", kPara},
      {"VX+SERVADDR=10.0.0.2:8080", ok("SERVADDR", "10.0.0.2,8080")},
      {"VX+SERVADDR=10.0.0.2", kPara},
      {"VX+SERVADDR?", ok("SERVADDR", "10.0.0.2,8080")},
      {"VX+SSID=Car-12", ok("SSID", "Car-12")},
      {"VX+SSID?", ok("SSID", "Car-12")},
      {"VX+SERVHEARTBEAT?", ok("SERVHEARTBEAT", "60")},
      {"VX+SERVHEARTBEAT=30", ok("SERVHEARTBEAT", "30")},
      {"VX+GPSEN=0", ok("GPSEN", "0")},
      {"VX+GPSEN=on", kPara},
      {"VX+GPSEN?", ok("GPSEN", "0")},
      {"VX+UDISKAUTHEN=1", ok("UDISKAUTHEN", "1")},
      {"VX+PFPTTEN?", ok("PFPTTEN", "0")}}},
    {"access points",
     {{"VX+APLIST?", ok("APLIST", "")},
      {"VX+APSEL?", ok("APSEL", "")},
      {"VX+APADD=HQ:secret1", ok("APADD", "HQ")},
      {"VX+APADD=Car-12:pw", ok("APADD", "Car-12")},
      {"VX+APADD=HQ:secret2", ok("APADD", "HQ")},  // known: updated, not doubled
      {"VX+APADD=nopassword", kPara},
      {"VX+APLIST?", ok("APLIST", "HQ,Car-12")},
      {"VX+APSEL=Depot", ok("APSEL", "")},
      {"VX+APSEL=Car-12", ok("APSEL", "Car-12")},
      {"VX+APSEL?", ok("APSEL", "Car-12")},
      {"VX+APDEL=Depot", ok("APDEL", "")},
      {"VX+APDEL=Car-12", ok("APDEL", "Car-12")},
      {"VX+APSEL?", ok("APSEL", "")},  // the selection went with it
      {"VX+APLIST?", ok("APLIST", "HQ")},
      {"VX+APDEL=ALL", ok("APDEL", "ALL")},
      {"VX+APLIST?", ok("APLIST", "")}}},
    {"service configurations",
     {{"VX+TALKBACKCFG?",
       ok("TALKBACKCFG", "bEnable:0,ServIP:,ServPort:,DevNo:,DevName:,DevPasswd:,")},
      {"VX+TALKBACKCFG=bEnable:1,ServIP:10.1.1.1,ServPort:7000,",
       ok("TALKBACKCFG", "bEnable:1,ServIP:10.1.1.1,ServPort:7000,DevNo:,DevName:,DevPasswd:,")},
      {"VX+TALKBACKCFG=bEnable:0,DevName:Unit 7,DevNo:42,",  // other order; absent keys kept
       ok("TALKBACKCFG",
          "bEnable:0,ServIP:10.1.1.1,ServPort:7000,DevNo:42,DevName:Unit 7,DevPasswd:,")},
      {"VX+TALKBACKCFG=ServIP:10.1.1.2,", kPara},
      {"VX+TALKBACKCFG=bEnable:1,ChnNo:1,", kPara},
      {"VX+TALKBACKCFG=bEnable:1,ServIP:10.1.1.2", kPara},
      {"VX+TALKBACKCFG?",
       ok("TALKBACKCFG",
          "bEnable:0,ServIP:10.1.1.1,ServPort:7000,DevNo:42,DevName:Unit 7,DevPasswd:,")},
      {"VX+GB28181CFG=bEnable:1,ServIP:sip.example,ServPort:5060,DevNo:3402,ChnNo:1,Chnname:cam,"
       "ServID:34020000002000000001,Name:34020000002000000001,Passwd:pw,",
       ok("GB28181CFG",
          "bEnable:1,ServIP:sip.example,ServPort:5060,DevNo:3402,ChnNo:1,Chnname:cam,"
          "ServID:34020000002000000001,Name:34020000002000000001,Passwd:pw,")},
      {"VX+CMSV6CFG=bEnable:1,ServIP:cms.example,",
       ok("CMSV6CFG", "bEnable:1,ServIP:cms.example,ServPort:,DevNo:,ReportTime:30,")},
      {"VX+LBSCFG?", ok("LBSCFG", "bEnable:0,LoginUrl:,DevPasswd:,ReportTime:60,")},
      {"VX+DIAGNOSTICCFG=bEnable:1,ServIP:diag.example,ServPort:9,ReportTime:5,", kPara},
      {"VX+0787SERV01CFG=bEnable:1,ReportTime:x,", kPara}}},
    {"storage, power, logs and OSD",
     {{"VX+UDISKEN=2", ok("UDISKEN", "2")},
      {"VX+MKFS=NTFS", kPara},
      {"VX+MKFS=EXFAT", ok("MKFS", "EXFAT")},
      {"VX+LOGLEVEL=4", ok("LOGLEVEL", "4")},
      {"VX+LOGLEVEL?", ok("LOGLEVEL", "4")},
      {"VX+LOGEXPORT", ok("LOGEXPORT", "OK")},
      {"VX+LOGEXPORT?", kPara},
      {"VX+POWERSAVE=1", ok("POWERSAVE", "1")},
      {"VX+POWEROFF=3", kPara},
      {"VX+POWEROFF=2", ok("POWEROFF", "2")},
      {"VX+VIDEOOSD1=1,Unit 7, north gate", ok("VIDEOOSD1", "1,Unit 7, north gate")},
      {"VX+VIDEOOSD12=0,Plate", ok("VIDEOOSD12", "0,Plate")},
      {"VX+VIDEOOSD1?", ok("VIDEOOSD1", "1,Unit 7, north gate")},
      {"VX+VIDEOOSD2?", ok("VIDEOOSD2", "0,")},
      {"VX+VIDEOOSD?", kPara},
      {"VX+VIDEOOSD3=x,text", kPara}}},
    {"data channel",
     {{"VX+DATAPTHREAD=3", ok("DATAPTHREAD", "3")},
      {"VX+DATAPTHREAD=three", kPara},
      {"VX+BASE64=7,aGVsbG8=", ok("BASE64", "7")},
      {"VX+BASE64=8,aGVsbG8", kPara},
      {"VX+BASE64=8,aGV*bG8=", kPara},
      {"VX+BASE64=aGVsbG8=", kPara},
      {"VX+SYSCMD=bHMgLWw=", ok("SYSCMD", "OK")},
      {"VX+SYSCMD=bHMgLWw", kPara}}},
    {"configuration text",
     {{"VX+UMSINI=Video.FrameRate=?", ok("UMSINI", "Video.FrameRate=30")},
      {"VX+UMSINI=Video.FrameRate = 25|.Resolution=1280x720",
       ok("UMSINI", "Video.FrameRate=25|Video.Resolution=1280x720")},
      {"VX+UMSINI=Net.Servers+=a.example|Net.Servers+=b.example",
       ok("UMSINI", "Net.Servers=a.example|Net.Servers=a.example,b.example")},
      {"VX+UMSINI=Net.Servers-=a.example", ok("UMSINI", "Net.Servers=b.example")},
      {"VX+UMSINI=Net.Servers-=", ok("UMSINI", "Net.Servers=")},
      {"VX+UMSINI=Video.FrameRate", kPara},
      {"VX+UMSINI=.FrameRate=?", kPara},  // no section to take
      {"VX+UMSJSON={\"Video\":{\"FrameRate\":null,\"Bitrate\":4096},\"Audio\":{\"Enable\":\"1\"}}",
       ok("UMSJSON", R"({"Video":{"FrameRate":"25","Bitrate":"4096"},"Audio":{"Enable":"1"}})")},
      {"VX+UMSJSON={\"Net\":{\"Servers\":null}}", ok("UMSJSON", R"({"Net":{"Servers":null}})")},
      {"VX+UMSJSON={\"Video\":{\"FrameRate\":", kPara},
      {"VX+UMSJSON={\"Video\":{\"FrameRate\":[25]}}", kPara},
      {"VX+UMSJSON=[1]", kPara},
      {"VX+UMSINI=Video.Bitrate=?|Audio.Enable=?",
       ok("UMSINI", "Video.Bitrate=4096|Audio.Enable=1")}}},
    {"factory reset",
     {{"VX+DEVNAME=Changed", ok("DEVNAME", "Changed")},
      {"VX+APADD=HQ:pw", ok("APADD", "HQ")},
      {"VX+FRESET=2", kPara},
      {"VX+FRESET=1", ok("FRESET", "1")},
      {"VX+DEVNAME?", ok("DEVNAME", "VX007 A1B2C3")},
      {"VX+APLIST?", ok("APLIST", "")},
      {"VX+NOSUCH?", "Error: unsupported command\r\n"}}},
};

struct SimCommands : ::testing::Test {
    void SetUp() override {
        vsim::reset();
        usb_init();
        usb_find_busses();
    }
    void TearDown() override {
        if (h_) usb_close(h_);
        vsim::reset();
    }

    // Plugs a recorder and opens it; returns its id.
    int plug(vsim::DeviceSpec spec = {}) {
        if (spec.model.empty()) spec.model = "VX007";
        if (spec.serial.empty()) spec.serial = "A1B2C3_1";
        int id = vsim::plug(spec);
        h_ = open(id);
        return id;
    }
    usb_dev_handle *open(int id) {
        usb_find_devices();
        for (usb_bus *b = usb_get_busses(); b; b = b->next)
            for (struct usb_device *d = b->devices; d; d = d->next)
                if (d->devnum == vsim::devnum(id)) return usb_open(d);
        return nullptr;
    }
    int write(const std::string &bytes) {
        return usb_bulk_write(h_, 0x01, bytes.data(), static_cast<int>(bytes.size()), 1000);
    }
    // Sends one command line and returns everything the recorder answered.
    std::string send(const std::string &line) {
        EXPECT_EQ(write(line + "\r\n"), static_cast<int>(line.size() + 2));
        std::string all;
        char buf[512];
        int n;
        while ((n = usb_bulk_read(h_, 0x81, buf, sizeof buf, 1000)) > 0)
            all.append(buf, static_cast<std::size_t>(n));
        return all;
    }

    usb_dev_handle *h_ = nullptr;
};

TEST_F(SimCommands, EveryFamilyAnswersStatefully) {
    for (const Family &f : kFamilies) {
        SCOPED_TRACE(f.name);
        plug();
        ASSERT_EQ(send("VX+LOGINPWD=PWD0001"), ok("LOGINPWD", "Sucess"));
        for (const Step &s : f.steps) EXPECT_EQ(send(s.command), s.reply) << s.command;
        usb_close(h_);
        h_ = nullptr;
        vsim::reset();
    }
}

TEST_F(SimCommands, LoginGuardsAllButIdentificationAndDiskStatus) {
    int id = plug();
    EXPECT_EQ(send("VX+DEVNAME?"), "Error: not login\r\n");
    EXPECT_EQ(send("VX+APLIST?"), "Error: not login\r\n");
    EXPECT_EQ(send("VX+PCUDISKSTAT?"), ok("PCUDISKSTAT", "1"));
    EXPECT_EQ(send("VX+GBIDCODE?"), ok("GBIDCODE", "3400001"));
    EXPECT_EQ(send("DEVNAME?"), kPara);
    EXPECT_EQ(vsim::value(id, "DEVNAME"), "VX007 A1B2C3");

    // The UUID is a short text of the whole serial string, different per recorder.
    send("VX+LOGINPWD=PWD0001");
    std::string uuid = send("VX+UUID?");
    EXPECT_EQ(uuid.size(), std::string("+UUID:VU12345678\r\nOK\r\n").size()) << uuid;
    usb_close(h_);
    vsim::DeviceSpec other;
    other.serial = "A1B2C3_0";
    plug(other);
    send("VX+LOGINPWD=PWD0001");
    EXPECT_NE(send("VX+UUID?"), uuid);
    EXPECT_EQ(send("VX+PCUDISKSTAT?"), ok("PCUDISKSTAT", "0"));
}

TEST_F(SimCommands, PresetsComeFromSpecValuesAndSurviveFactoryReset) {
    vsim::DeviceSpec spec;
    spec.values = {
        {"DEVNAME", "Spec name"}, {"SYSTIME", "20240105083000"}, {"APLIST", "HQ:pw,Car:pw2"}};
    int id = plug(spec);
    vsim::set_value(id, "BATVAL", "12");
    send("VX+LOGINPWD=PWD0001");
    EXPECT_EQ(send("VX+SYSTIME?"), ok("SYSTIME", "20240105083000,0,0,UTC"));  // the rest filled in
    EXPECT_EQ(send("VX+APLIST?"), ok("APLIST", "HQ,Car"));
    send("VX+DEVNAME=Renamed");
    send("VX+FRESET=1");
    send("VX+FRESET=1");
    EXPECT_EQ(send("VX+DEVNAME?"), ok("DEVNAME", "Spec name"));
    EXPECT_EQ(send("VX+BATVAL?"), ok("BATVAL", "12"));
    EXPECT_EQ(vsim::value(id, "FRESET"), "2");
    EXPECT_EQ(vsim::value(id, "MVEINFO"), "1920x1080,30,4096");
}

TEST_F(SimCommands, PowerOffLeavesTheBusOnlyWhenAskedAndAfterItsReply) {
    vsim::Faults leave;
    leave.leave_on_power_off = true;
    for (const char *command : {"VX+POWEROFF=1", "VX+POWEROFF=2"}) {
        SCOPED_TRACE(command);
        int id = plug();
        vsim::set_faults(id, leave);
        send("VX+LOGINPWD=PWD0001");
        EXPECT_EQ(send(command), ok("POWEROFF", std::string(command).substr(12)));
        EXPECT_EQ(write("VX+BATVAL?\r\n"), vsim::kNoDevice);
        EXPECT_EQ(usb_find_devices(), 1);  // it left the list
        usb_close(h_);
        h_ = nullptr;
    }

    int id = plug();  // without the option it stays
    send("VX+LOGINPWD=PWD0001");
    EXPECT_EQ(send("VX+POWEROFF=1"), ok("POWEROFF", "1"));
    EXPECT_EQ(send("VX+BATVAL?"), ok("BATVAL", "87"));
    EXPECT_EQ(vsim::value(id, "POWEROFF"), "1");

    // The power-off shell line: its reply is never read, the next write finds it gone.
    usb_close(h_);
    id = plug();
    vsim::set_faults(id, leave);
    send("VX+LOGINPWD=PWD0001");
    std::string line =
        "VX+SYSCMD=L3Vzci9sb2NhbC9zYmluL2kyY2NtZCBXIDIgMHg3MCAweGFhIDB4MTAgMSAxIDB4YmM=\r\n";
    EXPECT_EQ(write(line), static_cast<int>(line.size()));
    EXPECT_EQ(write("VX+LOGOUT\r\n"), vsim::kNoDevice);
    ASSERT_EQ(vsim::shell_lines(id).size(), 1u);
    EXPECT_EQ(vsim::shell_lines(id)[0].line, "/usr/local/sbin/i2ccmd W 2 0x70 0xaa 0x10 1 1 0xbc");
}

TEST_F(SimCommands, EndlessStaleBytesAndEmptyPacketsStayBoundedPerRead) {
    int id = plug();
    vsim::Faults f;
    f.stale_stream = true;
    vsim::set_faults(id, f);
    EXPECT_EQ(write("VX+GBIDCODE?\r\n"), 14);
    char buf[2048];
    for (int i = 0; i < 300; ++i) {
        int n = usb_bulk_read(h_, 0x81, buf, sizeof buf, 1000);
        ASSERT_EQ(n, 512);  // a full packet, every time
        std::string got(buf, 512);
        ASSERT_EQ(got.find("OK\r\n"), std::string::npos);
        ASSERT_EQ(got.find("Error:"), std::string::npos);
    }
    EXPECT_EQ(usb_bulk_read(h_, 0x81, buf, 100, 1000), 100);  // bounded by the size asked

    f.stale_stream = false;
    f.zero_length_reads = true;
    vsim::set_faults(id, f);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(usb_bulk_read(h_, 0x81, buf, sizeof buf, 1000), 0);

    vsim::set_faults(id, {});  // the answer waited behind the fault
    EXPECT_EQ(usb_bulk_read(h_, 0x81, buf, sizeof buf, 1000), 23);
}

TEST_F(SimCommands, DataPacksAndShellLinesAreRecordedDecoded) {
    int id = plug();
    send("VX+LOGINPWD=PWD0001");
    send("VX+BASE64=1,AAEC/w==");  // bytes 00 01 02 FF
    send("VX+BASE64=2,TlVMTA==");  // an empty pack goes as the text NULL
    send("VX+BASE64=3,%%%%");      // refused, not recorded
    // The data pack command may come without its line end, taken at the next read.
    EXPECT_EQ(write("VX+BASE64=-4,YQ=="), 17);
    char buf[64];
    EXPECT_GT(usb_bulk_read(h_, 0x81, buf, sizeof buf, 1000), 0);
    auto packs = vsim::data_packs(id);
    ASSERT_EQ(packs.size(), 3u);
    EXPECT_EQ(packs[0].number, 1);
    EXPECT_EQ(packs[0].bytes, std::string("\x00\x01\x02\xff", 4));
    EXPECT_EQ(packs[1].bytes, "NULL");
    EXPECT_EQ(packs[2].number, -4);
    EXPECT_EQ(packs[2].bytes, "a");

    send("VX+SYSCMD=ZWNobyBmaXJzdA==");  // "echo first"
    send("VX+SYSCMD=ZWNobyBzZWNvbmQ=");  // "echo second"
    auto lines = vsim::shell_lines(id);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, "echo first");
    EXPECT_EQ(lines[1].line, "echo second");
    EXPECT_LE(lines[0].at, lines[1].at);
    EXPECT_TRUE(vsim::data_packs(99).empty());
    vsim::clear_record();
    EXPECT_TRUE(vsim::data_packs(id).empty());
    EXPECT_TRUE(vsim::shell_lines(id).empty());
}

TEST_F(SimCommands, ScenarioPresetsEverySettingForm) {
    std::string path = ::testing::TempDir() + "sim_commands_test.json";
    std::ofstream(path) << R"({"devices": [{"name": "a", "model": "VX005", "serial": "Q9_0",
        "values": {"DEVNAME": "Gate", "SYSTIME": "20240105083000"},
        "access_points": [{"ssid": "HQ", "password": "pw1"}, {"ssid": "Car-12"}],
        "selected_ap": "Car-12",
        "services": {"GPSSERVCFG": {"bEnable": 1, "ServIP": "gps.example", "ReportTime": 15}},
        "config": {"Video": {"FrameRate": 25}},
        "faults": {"leave_on_power_off": true, "stale_stream": false, "zero_length_reads": false}}]})";
    std::string error;
    ASSERT_TRUE(vsim::load_scenario(path, &error)) << error;
    h_ = open(1);
    send("VX+LOGINPWD=PWD0001");
    EXPECT_EQ(send("VX+APLIST?"), ok("APLIST", "HQ,Car-12"));
    EXPECT_EQ(send("VX+APSEL?"), ok("APSEL", "Car-12"));
    EXPECT_EQ(
        send("VX+GPSSERVCFG?"),
        ok("GPSSERVCFG", "bEnable:1,ServIP:gps.example,ServPort:,DevNo:,Passwd:,ReportTime:15,"));
    EXPECT_EQ(send("VX+UMSINI=Video.FrameRate=?"), ok("UMSINI", "Video.FrameRate=25"));
    EXPECT_EQ(send("VX+DEVNAME?"), ok("DEVNAME", "Gate"));
    EXPECT_EQ(send("VX+POWEROFF=1"), ok("POWEROFF", "1"));
    EXPECT_EQ(write("VX+DEVNAME?\r\n"), vsim::kNoDevice);

    usb_close(h_);
    h_ = nullptr;
    vsim::reset();
    std::ofstream(path)
        << R"({"devices": [{"name": "a", "model": "VX005", "access_points": [{"ssid": "a,b"}]}]})";
    EXPECT_FALSE(vsim::load_scenario(path, &error));
    EXPECT_NE(error.find("access_points[0]"), std::string::npos) << error;
    std::remove(path.c_str());
}

TEST_F(SimCommands, ModelTableIsWhatPlugApplies) {
    auto rows = vsim::models();
    ASSERT_EQ(rows.size(), 6u);
    for (const vsim::ModelInfo &m : rows) {
        SCOPED_TRACE(m.name);
        vsim::DeviceSpec spec;
        spec.model = m.name;
        int id = vsim::plug(spec);
        ASSERT_GT(id, 0);
        usb_find_devices();
        struct usb_device *d = nullptr;
        for (struct usb_device *x = usb_get_busses()->devices; x; x = x->next)
            if (x->devnum == vsim::devnum(id)) d = x;
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->descriptor.idVendor, m.vid);
        EXPECT_EQ(d->descriptor.idProduct, m.pid);
        EXPECT_EQ(d->config->bConfigurationValue, m.configuration);
        const usb_interface_descriptor &a = d->config->interface->altsetting[0];
        EXPECT_EQ(a.bInterfaceNumber, m.interface_no);
        EXPECT_EQ(a.endpoint[0].bEndpointAddress, m.ep_in);
        EXPECT_EQ(a.endpoint[1].bEndpointAddress, m.ep_out);
    }
}

}  // namespace
