// A virtual bus with recorders, and helpers to read what went over the wire.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "vsim.h"

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::add_bus("002", 2);
        VX_SetLibLog(VX_LOG_OFF);
    }
    void TearDown() override {
        for (VestraInfo *dev : opened_) VX_UnInitDev(dev);
        vsim::reset();
    }

    // A recorder on the bus; its serial "SN<id_code>_1" unless one is given.
    int plug(const std::string &model, const std::string &id_code = "3400001", int bus = 0,
             const std::string &serial = "") {
        return vsim::plug({.model = model,
                           .bus = bus,
                           .serial = serial.empty() ? "SN" + id_code + "_1" : serial,
                           .id_code = id_code,
                           .values = {}});
    }

    // A record opened with VX_InitDev, released at the end of the test.
    VestraInfo *open(const char *model) {
        VestraInfo *dev = VX_InitDev(model);
        if (dev) opened_.push_back(dev);
        return dev;
    }
    // The record is the test's to release now.
    void forget(VestraInfo *dev) {
        opened_.erase(std::remove(opened_.begin(), opened_.end(), dev), opened_.end());
    }

    static std::vector<vsim::Transfer> writes() { return of_kind(vsim::Transfer::Write); }
    static std::vector<vsim::Transfer> reads() { return of_kind(vsim::Transfer::Read); }
    static std::vector<vsim::Transfer> of_kind(vsim::Transfer::Kind kind) {
        std::vector<vsim::Transfer> out;
        for (const auto &t : vsim::transfers())
            if (t.kind == kind) out.push_back(t);
        return out;
    }
    static int count_commands(int id, const std::string &prefix) {
        int n = 0;
        for (const auto &c : vsim::commands(id))
            if (c.rfind(prefix, 0) == 0) ++n;
        return n;
    }

private:
    std::vector<VestraInfo *> opened_;
};
