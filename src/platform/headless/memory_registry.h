// An in-memory registry below HKEY_LOCAL_MACHINE. Key and value names compare without
// regard to letter case, as Windows compares them. Tests seed it with values of any
// type and can make it refuse opens or writes to reach the failure paths.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "system/registry.h"

namespace lt::headless {

class MemoryRegistry : public Registry {
public:
    struct Value {
        uint32_t type = regtype::kString;
        std::string data;  // text for string types, raw bytes otherwise
    };

    MemoryRegistry();
    ~MemoryRegistry() override;

    OpenedKey openKey(const std::string& path, uint32_t access) override;
    OpenedKey createKey(const std::string& path, uint32_t access) override;
    // The texts an English Windows gives for the codes this registry reports.
    std::string errorText(uint32_t code) override;

    // Seeding and inspection; paths may start with a backslash.
    void addKey(const std::string& path);
    void setValue(const std::string& path, const std::string& name, Value value);
    void setString(const std::string& path, const std::string& name, const std::string& text) {
        setValue(path, name, {regtype::kString, text});
    }
    void setDword(const std::string& path, const std::string& name, uint32_t number);
    bool keyExists(const std::string& path) const;
    std::optional<Value> value(const std::string& path, const std::string& name) const;
    std::optional<std::string> text(const std::string& path, const std::string& name) const;
    std::vector<std::string> valueNames(const std::string& path) const;

    // Refuses an open or create (access denied) when it returns false.
    std::function<bool(const std::string& path, uint32_t access)> allowOpen;
    // Makes every value write fail.
    bool failWrites = false;
    // Makes every removal of an existing value fail (access denied).
    bool failRemovals = false;
    // Makes the writes of these value names fail, for a failure halfway through a sequence.
    std::set<std::string> failWritesOf;
    // Every value write, in order, as "path\name=text", for tests of write order.
    std::vector<std::string> writeLog;

    struct Node;

private:
    Node* lookup(const std::string& path, bool create);
    const Node* lookup(const std::string& path) const;
    std::unique_ptr<Node> root_;
};

}  // namespace lt::headless
