// File-type registration over a recording registry: the check, the four keys
// in order, the stop at the first key that cannot be opened, and every text
// of the settings report; the installer's registry table against -INSTALL.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "startup/registration.h"

namespace vell {
namespace {

const std::string kOpenKey = std::string(kProgramId) + "\\shell\\open\\command";
const std::string kPrintKey = std::string(kProgramId) + "\\shell\\print\\command";
const std::string kPath = "C:\\Program Files\\vell\\vell.exe";

// HKEY_CLASSES_ROOT in memory. Opening creates a missing key, as
// RegCreateKeyExA does; keys named in locked cannot be opened or created,
// values of keys named in unreadable cannot be read.
struct FakeRegistry {
    struct Key {
        bool has_value = false;
        std::string value;
    };
    std::map<std::string, Key> keys;
    std::set<std::string> locked;
    std::set<std::string> unreadable;
    std::vector<std::string> opened;  // every key opened, in order
    int open_handles = 0;

    struct Handle {
        std::string name;
    };
    std::vector<Handle*> handles;

    ~FakeRegistry() {
        for (Handle* h : handles) delete h;
    }

    RegistryOps ops() {
        RegistryOps o;
        o.context = this;
        o.open_key = [](void* c, const std::string& name) -> void* {
            FakeRegistry& r = *static_cast<FakeRegistry*>(c);
            r.opened.push_back(name);
            if (r.locked.count(name)) return nullptr;
            r.keys[name];
            r.handles.push_back(new Handle{name});
            ++r.open_handles;
            return r.handles.back();
        };
        o.query_default = [](void* c, void* key, std::string* value) {
            FakeRegistry& r = *static_cast<FakeRegistry*>(c);
            const std::string& name = static_cast<Handle*>(key)->name;
            const Key& k = r.keys[name];
            if (r.unreadable.count(name) || !k.has_value) return false;
            *value = k.value;
            return true;
        };
        o.set_default = [](void* c, void* key, const std::string& value) {
            FakeRegistry& r = *static_cast<FakeRegistry*>(c);
            Key& k = r.keys[static_cast<Handle*>(key)->name];
            k.has_value = true;
            k.value = value;
        };
        o.close_key = [](void* c, void*) { --static_cast<FakeRegistry*>(c)->open_handles; };
        return o;
    }

    void set(const std::string& name, const std::string& value) {
        keys[name].has_value = true;
        keys[name].value = value;
    }
    std::string value(const std::string& name) const {
        auto it = keys.find(name);
        return it == keys.end() || !it->second.has_value ? "(none)" : it->second.value;
    }
};

TEST(IsRegistered, NeedsANonBlankExtensionValue) {
    FakeRegistry empty;
    EXPECT_EQ(is_registered(empty.ops()), 0);
    // The check creates the extension key and leaves it behind, empty.
    EXPECT_EQ(empty.keys.count(".vel"), 1u);
    EXPECT_EQ(empty.value(".vel"), "(none)");

    FakeRegistry blank;
    blank.set(".vel", "   ");
    EXPECT_EQ(is_registered(blank.ops()), 0);

    FakeRegistry other;
    other.set(".vel", "Other.Document");
    EXPECT_EQ(is_registered(other.ops()), 1);

    FakeRegistry unreadable;
    unreadable.set(".vel", kProgramId);
    unreadable.unreadable.insert(".vel");
    EXPECT_EQ(is_registered(unreadable.ops()), 0);

    FakeRegistry locked;
    locked.locked.insert(".vel");
    EXPECT_EQ(is_registered(locked.ops()), 0);

    for (FakeRegistry* r : {&empty, &blank, &other, &unreadable, &locked})
        EXPECT_EQ(r->open_handles, 0);
}

TEST(Register, WritesTheFourKeysInOrder) {
    FakeRegistry reg;
    reg.set(".vel", "Other.Document");  // taken over
    EXPECT_EQ(register_file_type(reg.ops(), kPath), 1);
    EXPECT_EQ(reg.opened, (std::vector<std::string>{".vel", kProgramId, kOpenKey, kPrintKey}));
    EXPECT_EQ(reg.value(".vel"), kProgramId);
    EXPECT_EQ(reg.value(kProgramId), kProgramId);
    // The path has blanks: quoted, so that Windows never runs C:\Program.exe.
    EXPECT_EQ(reg.value(kOpenKey), "\"" + kPath + "\" %1");
    EXPECT_EQ(reg.value(kPrintKey), "\"" + kPath + "\" -PA %1");
    EXPECT_EQ(reg.open_handles, 0);
    EXPECT_EQ(open_command_value("C:\\vell\\vell.exe"), "C:\\vell\\vell.exe %1");
}

// The registry table of the installer package (installer/file_type.wxi):
// key and value of every HKCR string value, in order, "&quot;" read as '"'.
std::vector<std::pair<std::string, std::string>> installer_entries() {
    std::ifstream in(VELL_SOURCE_DIR "/installer/file_type.wxi");
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::pair<std::string, std::string>> entries;
    const std::string wxi = text.str();
    const std::regex element("<RegistryValue\\s[^>]*>");
    const std::regex key(" Key=\"([^\"]*)\""), value(" Value=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(wxi.begin(), wxi.end(), element);
         it != std::sregex_iterator(); ++it) {
        const std::string e = it->str();
        std::smatch k, v;
        EXPECT_NE(e.find(" Root=\"HKCR\" "), std::string::npos) << e;
        EXPECT_NE(e.find(" Type=\"string\""), std::string::npos) << e;
        if (!std::regex_search(e, k, key) || !std::regex_search(e, v, value)) continue;
        entries.emplace_back(k[1], std::regex_replace(v[1].str(), std::regex("&quot;"), "\""));
    }
    return entries;
}

// The installer writes what -INSTALL writes for the installed program,
// whose folder has blanks: the same keys in the same order, the same
// values with the program's path, "[#VellExe]" to the installer.
TEST(Register, InstallerWritesTheSameEntries) {
    const std::string installed = "C:\\Program Files\\vell Print and Preview\\vell.exe";
    FakeRegistry reg;
    ASSERT_EQ(register_file_type(reg.ops(), installed), 1);
    std::vector<std::pair<std::string, std::string>> written;
    for (const std::string& name : reg.opened) {
        std::string value = reg.value(name);
        for (size_t at; (at = value.find(installed)) != std::string::npos;)
            value.replace(at, installed.size(), "[#VellExe]");
        written.emplace_back(name, value);
    }
    EXPECT_EQ(installer_entries(), written);
}

TEST(Register, StopsAtTheFirstKeyThatCannotBeOpened) {
    FakeRegistry reg;
    reg.locked.insert(kOpenKey);
    EXPECT_EQ(register_file_type(reg.ops(), kPath), 0);
    // What came before stays written; nothing after is tried.
    EXPECT_EQ(reg.value(".vel"), kProgramId);
    EXPECT_EQ(reg.value(kProgramId), kProgramId);
    EXPECT_EQ(reg.keys.count(kPrintKey), 0u);
    EXPECT_EQ(reg.opened.back(), kOpenKey);
    EXPECT_EQ(reg.open_handles, 0);

    FakeRegistry first;
    first.locked.insert(".vel");
    EXPECT_EQ(register_file_type(first.ops(), kPath), 0);
    EXPECT_EQ(first.opened.size(), 1u);
}

TEST(Register, CommandValuesAreCutAt299Characters) {
    std::string long_path = "C:\\" + std::string(400, 'd') + "\\vell.exe";
    FakeRegistry reg;
    EXPECT_EQ(register_file_type(reg.ops(), long_path), 1);
    EXPECT_EQ(reg.value(kOpenKey), long_path.substr(0, kCommandLimit));
    EXPECT_EQ(reg.value(kPrintKey).size(), kCommandLimit);
}

TEST(RegistrySettings, ReportsOurOwnRegistration) {
    FakeRegistry reg;
    register_file_type(reg.ops(), kPath);
    EXPECT_EQ(registry_settings_message(reg.ops()),
              "Registry Settings for the .vel extension\r\r"
              "Program Name: vell Print Preview Document\r"
              "Open: \"" + kPath + "\" %1\r"
              "Print: \"" + kPath + "\" -PA %1");
    EXPECT_EQ(reg.open_handles, 0);
}

TEST(RegistrySettings, EveryFailureHasItsText) {
    FakeRegistry locked;
    locked.locked.insert(".vel");
    EXPECT_EQ(registry_settings_message(locked.ops()), kNoEntryMessage);

    FakeRegistry unreadable;
    unreadable.set(".vel", kProgramId);
    unreadable.unreadable.insert(".vel");
    EXPECT_EQ(registry_settings_message(unreadable.ops()), kQueryFailedMessage);

    FakeRegistry blank;
    blank.set(".vel", "  ");
    EXPECT_EQ(registry_settings_message(blank.ops()), kNoEntryMessage);

    // Missing command keys are created empty and cannot be read; keys that
    // cannot even be created are missing.
    FakeRegistry partial;
    partial.set(".vel", "Other.Document");
    partial.locked.insert("Other.Document\\shell\\print\\command");
    EXPECT_EQ(registry_settings_message(partial.ops()),
              registry_report("Other.Document", "Unable to open key", "Command Missing"));
    EXPECT_EQ(partial.keys.count("Other.Document\\shell\\open\\command"), 1u);

    for (FakeRegistry* r : {&locked, &unreadable, &blank, &partial}) EXPECT_EQ(r->open_handles, 0);
}

TEST(RegistrySettings, CommandKeysFollowTheIdentifierAsRead) {
    // Blanks around the identifier stay in the key names that are looked up,
    // and in the report.
    FakeRegistry reg;
    reg.set(".vel", "Other ");
    reg.set("Other \\shell\\open\\command", "other.exe %1");
    reg.set("Other\\shell\\open\\command", "wrong key");
    std::string report = registry_settings_message(reg.ops());
    EXPECT_EQ(report, registry_report("Other ", "other.exe %1", "Unable to open key"));
}

}  // namespace
}  // namespace vell
