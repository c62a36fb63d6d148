#include "memory_registry.h"

#include <algorithm>
#include <cctype>

namespace lt::headless {
namespace {

std::string folded(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

uint32_t utf16Units(const std::string& utf8) {
    uint32_t units = 0;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = utf8[i];
        const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        units += len == 4 ? 2 : 1;
        i += len;
    }
    return units;
}

}  // namespace

struct MemoryRegistry::Node {
    std::string name;
    std::map<std::string, std::unique_ptr<Node>> keys;  // by folded name
    std::map<std::string, std::pair<std::string, Value>> values;  // folded -> (name, value)
};

namespace {

class MemoryKey : public RegKey {
public:
    MemoryKey(MemoryRegistry& owner, MemoryRegistry::Node& node, std::string path, uint32_t access)
        : owner_(owner), node_(node), path_(std::move(path)), access_(access) {}

    std::optional<RegValueInfo> queryValue(const std::string& name) override {
        auto it = node_.values.find(folded(name));
        if (it == node_.values.end()) return std::nullopt;
        const auto& v = it->second.second;
        const bool isText = v.type == regtype::kString || v.type == regtype::kExpandString;
        // Sizes as RegQueryValueExW reports them: UTF-16 with the terminating zero.
        const uint32_t size = isText ? (utf16Units(v.data) + 1) * 2 : static_cast<uint32_t>(v.data.size());
        return RegValueInfo{v.type, size};
    }

    std::string readText(const std::string& name) override {
        auto it = node_.values.find(folded(name));
        if (it == node_.values.end()) return "";
        const std::string& data = it->second.second.data;
        return data.substr(0, data.find('\0'));
    }

    bool writeText(const std::string& name, const std::string& text) override {
        if (owner_.failWrites || owner_.failWritesOf.count(name) || !(access_ & rights::kSetValue)) return false;
        node_.values[folded(name)] = {name, {regtype::kString, text}};
        owner_.writeLog.push_back(path_ + "\\" + name + "=" + text);
        return true;
    }

    uint32_t deleteValue(const std::string& name) override {
        if (!node_.values.count(folded(name))) return regerror::kFileNotFound;
        if (owner_.failRemovals || !(access_ & rights::kSetValue)) return regerror::kAccessDenied;
        node_.values.erase(folded(name));
        return regerror::kSuccess;
    }

    std::vector<std::string> subkeyNames() override {
        std::vector<std::string> names;
        for (const auto& [key, child] : node_.keys) names.push_back(child->name);
        return names;
    }

private:
    MemoryRegistry& owner_;
    MemoryRegistry::Node& node_;
    std::string path_;
    uint32_t access_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : root_(std::make_unique<Node>()) {}
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::lookup(const std::string& path, bool create) {
    Node* node = root_.get();
    for (const std::string& part : split(path)) {
        auto& slot = node->keys[folded(part)];
        if (!slot) {
            if (!create) {
                node->keys.erase(folded(part));
                return nullptr;
            }
            slot = std::make_unique<Node>();
            slot->name = part;
        }
        node = slot.get();
    }
    return node;
}

const MemoryRegistry::Node* MemoryRegistry::lookup(const std::string& path) const {
    const Node* node = root_.get();
    for (const std::string& part : split(path)) {
        auto it = node->keys.find(folded(part));
        if (it == node->keys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

OpenedKey MemoryRegistry::openKey(const std::string& path, uint32_t access) {
    Node* node = lookup(path, false);
    if (!node) return {nullptr, regerror::kFileNotFound};
    if (allowOpen && !allowOpen(path, access)) return {nullptr, regerror::kAccessDenied};
    return {std::make_unique<MemoryKey>(*this, *node, path, access)};
}

OpenedKey MemoryRegistry::createKey(const std::string& path, uint32_t access) {
    if (allowOpen && !allowOpen(path, access)) return {nullptr, regerror::kAccessDenied};
    return {std::make_unique<MemoryKey>(*this, *lookup(path, true), path, access)};
}

std::string MemoryRegistry::errorText(uint32_t code) {
    switch (code) {
    case regerror::kFileNotFound: return "The system cannot find the file specified.\r\n";
    case regerror::kAccessDenied: return "Access is denied.\r\n";
    default: return "";
    }
}

void MemoryRegistry::addKey(const std::string& path) { lookup(path, true); }

void MemoryRegistry::setValue(const std::string& path, const std::string& name, Value value) {
    lookup(path, true)->values[folded(name)] = {name, std::move(value)};
}

void MemoryRegistry::setDword(const std::string& path, const std::string& name, uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    setValue(path, name, {regtype::kDword, bytes});
}

bool MemoryRegistry::keyExists(const std::string& path) const { return lookup(path) != nullptr; }

std::optional<MemoryRegistry::Value> MemoryRegistry::value(const std::string& path, const std::string& name) const {
    const Node* node = lookup(path);
    if (!node) return std::nullopt;
    auto it = node->values.find(folded(name));
    if (it == node->values.end()) return std::nullopt;
    return it->second.second;
}

std::optional<std::string> MemoryRegistry::text(const std::string& path, const std::string& name) const {
    auto v = value(path, name);
    if (!v || (v->type != regtype::kString && v->type != regtype::kExpandString)) return std::nullopt;
    return v->data;
}

std::vector<std::string> MemoryRegistry::valueNames(const std::string& path) const {
    std::vector<std::string> names;
    if (const Node* node = lookup(path))
        for (const auto& [key, entry] : node->values) names.push_back(entry.first);
    return names;
}

}  // namespace lt::headless
