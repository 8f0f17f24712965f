// Scenario files: a JSON description of busses, recorders and timed plug and
// unplug events (format in docs/scenario-format.md). A file is read whole and
// checked before anything is applied, so a malformed one changes nothing.
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <stdexcept>

#include "internal.h"

namespace vsim {
namespace {

using nlohmann::json;

struct Setup {  // one named recorder of the file
    std::string name;
    DeviceSpec spec;
    std::vector<std::pair<std::string, std::string>> values;
    std::map<std::string, std::string> script;
    Faults faults;
    bool plugged = true;
};

struct Event {
    long at_ms;
    bool plug;
    std::size_t setup;  // index into Plan::setups
};

struct Plan {
    std::vector<std::pair<std::string, uint32_t>> busses;
    std::vector<Setup> setups;
    std::vector<Event> events;
    bool realtime = false;
};

[[noreturn]] void fail(const std::string &where, const std::string &what) {
    throw std::runtime_error(where + ": " + what);
}

const json *member(const json &obj, const char *key) {
    auto it = obj.find(key);
    return it == obj.end() ? nullptr : &*it;
}

void read_string(const json &obj, const char *key, const std::string &where, std::string *out) {
    if (const json *v = member(obj, key)) {
        if (!v->is_string()) fail(where + "." + key, "expected a string");
        *out = v->get<std::string>();
    }
}

// Numbers may be written as JSON numbers or as "0x..." texts.
template <class T>
void read_number(const json &obj, const char *key, const std::string &where, T *out) {
    const json *v = member(obj, key);
    if (!v) return;
    long long n = 0;
    if (v->is_number_integer()) {
        n = v->get<long long>();
    } else if (v->is_string()) {
        const std::string s = v->get<std::string>();
        char *end = nullptr;
        n = std::strtoll(s.c_str(), &end, 0);
        if (s.empty() || *end) fail(where + "." + key, "expected a number, got \"" + s + "\"");
    } else {
        fail(where + "." + key, "expected a number");
    }
    *out = static_cast<T>(n);
}

void read_bool(const json &obj, const char *key, const std::string &where, bool *out) {
    if (const json *v = member(obj, key)) {
        if (!v->is_boolean()) fail(where + "." + key, "expected true or false");
        *out = v->get<bool>();
    }
}

void read_text_map(const json &obj, const char *key, const std::string &where,
                   std::vector<std::pair<std::string, std::string>> *out) {
    const json *v = member(obj, key);
    if (!v) return;
    if (!v->is_object()) fail(where + "." + key, "expected an object of texts");
    for (auto it = v->begin(); it != v->end(); ++it) {
        if (!it->is_string()) fail(where + "." + key + "." + it.key(), "expected a string");
        out->emplace_back(it.key(), it->get<std::string>());
    }
}

Faults read_faults(const json &f, const std::string &where) {
    if (!f.is_object()) fail(where, "expected an object");
    Faults out;
    if (const json *split = member(f, "reply_split")) {
        if (!split->is_array()) fail(where + ".reply_split", "expected an array of sizes");
        for (const json &n : *split) {
            if (!n.is_number_unsigned() || n.get<std::size_t>() == 0)
                fail(where + ".reply_split", "sizes must be positive integers");
            out.reply_split.push_back(n.get<std::size_t>());
        }
    }
    read_number(f, "write_chunk", where, &out.write_chunk);
    read_number(f, "silent_replies", where, &out.silent_replies);
    read_bool(f, "unplug_after_command", where, &out.unplug_after_command);
    read_number(f, "set_configuration_error", where, &out.set_configuration_error);
    read_number(f, "claim_interface_error", where, &out.claim_interface_error);
    read_number(f, "write_error", where, &out.write_error);
    read_number(f, "write_error_count", where, &out.write_error_count);
    read_bool(f, "stale_stream", where, &out.stale_stream);
    read_bool(f, "zero_length_reads", where, &out.zero_length_reads);
    read_bool(f, "leave_on_power_off", where, &out.leave_on_power_off);
    read_bool(f, "unplug_now", where, &out.unplug_now);
    read_bool(f, "replug_now", where, &out.replug_now);
    read_number(f, "from_transfer", where, &out.from_transfer);
    return out;
}

// A JSON scalar as the text a setting holds: strings as they are, numbers
// and true/false as written.
std::string scalar_text(const json &v, const std::string &where) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number() || v.is_boolean()) return v.dump();
    fail(where, "expected a string or a number");
}

// The structured presets, turned into the texts the recorder keeps
// ("APLIST", "APSEL", one per service keyword, "UMSINI").
void read_settings(const json &d, const std::string &where,
                   std::vector<std::pair<std::string, std::string>> *values) {
    if (const json *aps = member(d, "access_points")) {
        if (!aps->is_array()) fail(where + ".access_points", "expected an array");
        std::string list;
        for (std::size_t i = 0; i < aps->size(); ++i) {
            std::string at = where + ".access_points[" + std::to_string(i) + "]";
            if (!(*aps)[i].is_object()) fail(at, "expected {\"ssid\": ..., \"password\": ...}");
            std::string ssid, password;
            read_string((*aps)[i], "ssid", at, &ssid);
            read_string((*aps)[i], "password", at, &password);
            // cppcheck-suppress knownConditionTrueFalse ; read_string filled ssid
            if (ssid.empty() || ssid.find_first_of(":,") != std::string::npos ||
                password.find(',') != std::string::npos)
                fail(at, "an ssid is needed, without ':' or ','; a password without ','");
            if (!list.empty()) list += ',';
            list += ssid;
            list += ':';
            list += password;
        }
        values->emplace_back("APLIST", list);
    }
    std::string selected;
    read_string(d, "selected_ap", where, &selected);
    if (member(d, "selected_ap")) values->emplace_back("APSEL", selected);
    if (const json *services = member(d, "services")) {
        if (!services->is_object()) fail(where + ".services", "expected an object of services");
        for (auto it = services->begin(); it != services->end(); ++it) {
            std::string at = where + ".services." + it.key();
            if (!it->is_object()) fail(at, "expected an object of fields");
            std::string pairs;
            for (auto f = it->begin(); f != it->end(); ++f)
                pairs += f.key() + ":" + scalar_text(*f, at + "." + f.key()) + ",";
            values->emplace_back(it.key(), pairs);
        }
    }
    if (const json *config = member(d, "config")) {
        if (!config->is_object()) fail(where + ".config", "expected an object of sections");
        std::string store;
        for (auto sec = config->begin(); sec != config->end(); ++sec) {
            if (!sec->is_object())
                fail(where + ".config." + sec.key(), "expected an object of keys");
            for (auto k = sec->begin(); k != sec->end(); ++k)
                store += (store.empty() ? "" : "|") + sec.key() + "." + k.key() + "=" +
                         scalar_text(*k, where + ".config." + sec.key() + "." + k.key());
        }
        values->emplace_back("UMSINI", store);
    }
}

Setup read_device(const json &d, const std::string &where, std::size_t bus_count) {
    if (!d.is_object()) fail(where, "expected an object");
    Setup s;
    read_string(d, "name", where, &s.name);
    if (s.name.empty()) fail(where + ".name", "every device needs a name");
    read_string(d, "model", where, &s.spec.model);
    read_number(d, "vid", where, &s.spec.vid);
    read_number(d, "pid", where, &s.spec.pid);
    read_number(d, "configuration", where, &s.spec.configuration);
    read_number(d, "interface", where, &s.spec.interface_no);
    read_number(d, "ep_in", where, &s.spec.ep_in);
    read_number(d, "ep_out", where, &s.spec.ep_out);
    read_number(d, "bus", where, &s.spec.bus);
    read_string(d, "serial", where, &s.spec.serial);
    read_string(d, "id_code", where, &s.spec.id_code);
    read_string(d, "user", where, &s.spec.user);
    read_string(d, "password", where, &s.spec.password);
    read_string(d, "login_id", where, &s.spec.login_id);
    read_string(d, "login_pwd", where, &s.spec.login_pwd);
    read_number(d, "packet_size", where, &s.spec.packet_size);
    read_bool(d, "plugged", where, &s.plugged);
    read_text_map(d, "values", where, &s.values);
    read_settings(d, where, &s.values);
    std::vector<std::pair<std::string, std::string>> replies;
    read_text_map(d, "script", where, &replies);
    s.script.insert(replies.begin(), replies.end());
    if (const json *f = member(d, "faults")) s.faults = read_faults(*f, where + ".faults");
    if (s.spec.packet_size == 0) fail(where + ".packet_size", "must be positive");
    if (s.spec.bus < 0 || static_cast<std::size_t>(s.spec.bus) >= bus_count)
        fail(where + ".bus", "no bus with index " + std::to_string(s.spec.bus));
    DeviceSpec check = s.spec;
    if (!apply_model(check)) fail(where + ".model", "unknown model \"" + s.spec.model + "\"");
    if (!member(d, "model") && !member(d, "vid")) fail(where, "needs a model or a vid and pid");
    return s;
}

Plan read_plan(const json &doc) {
    if (!doc.is_object()) fail("scenario", "expected a JSON object");
    Plan plan;
    if (const json *busses = member(doc, "busses")) {
        if (!busses->is_array()) fail("busses", "expected an array");
        for (std::size_t i = 0; i < busses->size(); ++i) {
            const json &b = (*busses)[i];
            std::string where = "busses[" + std::to_string(i) + "]";
            if (!b.is_object()) fail(where, "expected an object");
            char def[24];
            std::snprintf(def, sizeof def, "%03zu", i + 1);
            std::string dirname = def;
            uint32_t location = 0;
            read_string(b, "dirname", where, &dirname);
            read_number(b, "location", where, &location);
            plan.busses.emplace_back(dirname, location);
        }
    }
    if (plan.busses.empty()) plan.busses.emplace_back("001", 0);
    read_bool(doc, "realtime", "scenario", &plan.realtime);
    if (const json *devices = member(doc, "devices")) {
        if (!devices->is_array()) fail("devices", "expected an array");
        for (std::size_t i = 0; i < devices->size(); ++i) {
            std::string where = "devices[" + std::to_string(i) + "]";
            plan.setups.push_back(read_device((*devices)[i], where, plan.busses.size()));
            bool rt = false;
            read_bool((*devices)[i], "realtime", where, &rt);
            plan.realtime = plan.realtime || rt;
            for (std::size_t j = 0; j + 1 < plan.setups.size(); ++j)
                if (plan.setups[j].name == plan.setups.back().name)
                    fail(where + ".name", "\"" + plan.setups.back().name + "\" is used twice");
        }
    }
    if (const json *events = member(doc, "events")) {
        if (!events->is_array()) fail("events", "expected an array");
        for (std::size_t i = 0; i < events->size(); ++i) {
            const json &e = (*events)[i];
            std::string where = "events[" + std::to_string(i) + "]";
            if (!e.is_object()) fail(where, "expected an object");
            Event ev{0, true, 0};
            std::string action, device;
            read_number(e, "at_ms", where, &ev.at_ms);
            read_string(e, "action", where, &action);
            read_string(e, "device", where, &device);
            // cppcheck-suppress knownConditionTrueFalse ; read_string filled action
            if (action != "plug" && action != "unplug")
                fail(where + ".action", "expected \"plug\" or \"unplug\"");
            ev.plug = action == "plug";
            std::size_t k = 0;
            while (k < plan.setups.size() && plan.setups[k].name != device) ++k;
            if (k == plan.setups.size())
                fail(where + ".device", "no device named \"" + device + "\"");
            ev.setup = k;
            plan.events.push_back(ev);
        }
    }
    return plan;
}

int plug_setup(const Setup &s) {
    int id = plug(s.spec);
    Lock lk(state().lock);
    if (auto d = find_device(id)) {
        for (const auto &kv : s.values) preset(d->rec, kv.first, kv.second);
        d->script = s.script;
        d->faults = s.faults;
        if (s.faults.write_error && s.faults.write_error_count <= 0)
            d->faults.write_error_count = 1;
    }
    return id;
}

// Runs the timed events in order, then ends; stop_events() cuts it short.
void run_events(std::vector<Setup> setups, const std::vector<Event> &events, std::vector<int> ids,
                std::chrono::steady_clock::time_point start) {
    State &st = state();
    for (const Event &e : events) {
        Lock lk(st.lock);
        auto when = start + std::chrono::milliseconds(e.at_ms);
        st.changed.wait_until(lk, when, [&] { return st.events_stop; });
        if (st.events_stop) return;
        int &id = ids[e.setup];
        if (e.plug) {
            if (id > 0) {
                auto d = find_device(id);
                if (d && d->plugged) continue;  // plugged already
            }
            id = plug_setup(setups[e.setup]);
        } else if (id > 0) {
            unplug(id);
        }
    }
}

// At process exit the event thread is told to stop and let go, never joined:
// a static destructor runs under the loader lock on Windows, where waiting
// for a thread deadlocks. The state it touches is never freed. On Windows the
// process's other threads are already gone by then, perhaps holding the
// lock: there is nothing to stop and nothing may be waited for.
struct EventThreadStopper {
    ~EventThreadStopper() {
#if !defined(_WIN32)
        State &st = state();
        Lock lk(st.lock);
        st.events_stop = true;
        st.changed.notify_all();
        if (st.events.joinable()) st.events.detach();
#endif
    }
} stopper;

}  // namespace

void stop_events() {
    State &st = state();
    std::thread t;
    {
        Lock lk(st.lock);
        st.events_stop = true;
        st.changed.notify_all();
        t = std::move(st.events);
    }
    if (t.joinable()) t.join();
    Lock lk(st.lock);
    st.events_stop = false;
}

bool load_scenario(const std::string &path, std::string *error) {
    try {
        std::ifstream in(path);
        if (!in) fail(path, "cannot open the file");
        json doc;
        try {
            doc = json::parse(in);
        } catch (const json::parse_error &e) {
            fail(path, std::string("not valid JSON (") + e.what() + ")");
        }
        Plan plan = read_plan(doc);

        stop_events();
        auto start = std::chrono::steady_clock::now();
        std::vector<int> bus_index;
        for (const auto &b : plan.busses) bus_index.push_back(add_bus(b.first, b.second));
        std::vector<int> ids(plan.setups.size(), 0);
        for (std::size_t i = 0; i < plan.setups.size(); ++i) {
            Setup &s = plan.setups[i];
            s.spec.bus = bus_index[static_cast<std::size_t>(s.spec.bus)];
            if (s.plugged) ids[i] = plug_setup(s);
        }
        if (plan.realtime) set_realtime(true);
        if (!plan.events.empty()) {
            Lock lk(state().lock);
            state().events = std::thread(run_events, std::move(plan.setups), std::move(plan.events),
                                         std::move(ids), start);
        }
        return true;
    } catch (const std::exception &e) {
        if (error) *error = e.what();
        return false;
    }
}

void load_scenario_from_env() {
    // A function-local static: std::call_once crashes with mingw's static
    // winpthread inside a DLL.
    static const bool loaded = [] {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): read once, nothing here sets it
        const char *path = std::getenv("VSIM_SCENARIO");
        if (!path || !*path) return false;
        std::string error;
        if (load_scenario(path, &error)) return true;
        std::fprintf(stderr, "vsim: scenario not loaded, the bus stays empty: %s\n", error.c_str());
        return false;
    }();
    (void)loaded;
}

}  // namespace vsim
