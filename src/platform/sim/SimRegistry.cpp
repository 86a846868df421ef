// The simulated registry: five roots, keys whose sub-keys list sorted by name
// ignoring case, values in creation order, and handles with the access they
// were opened with, counted so a test can see that none leak.
#include <cstring>

#include "platform/sim/SimState.h"

namespace bm {

using sim::RegNode;
using sim::Wide;
using sim::Gbk;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace {

constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorKeyDeleted = 1018;

constexpr long kStatusProcedureNotFound = static_cast<long>(0xC000007Au);
constexpr long kStatusInvalidHandle = static_cast<long>(0xC0000008u);
constexpr long kStatusInvalidParameter = static_cast<long>(0xC000000Du);
constexpr long kStatusAccessDenied = static_cast<long>(0xC0000022u);
constexpr long kStatusCannotDelete = static_cast<long>(0xC0000121u);
constexpr long kStatusKeyDeleted = static_cast<long>(0xC000017Cu);

constexpr uint32_t kQueryValue = 0x0001;
constexpr uint32_t kSetValue = 0x0002;
constexpr uint32_t kCreateSubKey = 0x0004;
constexpr uint32_t kEnumerateSubKeys = 0x0008;
constexpr uint32_t kAllAccess = 0xF003F;

// The predefined root handles, numbered as Windows numbers them.
RegKey RootHandle(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return 0x80000000u;
    case RegRoot::CurrentUser: return 0x80000001u;
    case RegRoot::LocalMachine: return 0x80000002u;
    case RegRoot::Users: return 0x80000003u;
    case RegRoot::CurrentConfig: return 0x80000005u;
  }
  return 0;
}

// Generic rights map onto the key rights; MAXIMUM_ALLOWED grants them all.
uint32_t KeyAccess(uint32_t access) {
  uint32_t rights = access & 0xFFFF;
  if (access & 0x02000000u) rights |= kAllAccess;
  if (access & 0x10000000u) rights |= kAllAccess;
  if (access & 0x80000000u) rights |= kKeyRead;
  if (access & 0x40000000u) rights |= kKeyWrite;
  return rights;
}

std::vector<WideText> SplitKeyPath(const WideText& path) {
  std::vector<WideText> parts;
  WideText part;
  for (char16_t c : path) {
    if (c == u'\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool IsStringType(uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// The size the registry keeps a value in: strings are stored as UTF-16.
uint32_t StoredSize(const sim::RegValue& value) {
  if (!IsStringType(value.type)) return static_cast<uint32_t>(value.data.size());
  const Text bytes(value.data.begin(), value.data.end());
  return static_cast<uint32_t>(Wide(bytes).size() * 2);
}

sim::RegValue* FindValue(RegNode& node, const Text& name) {
  const WideText folded = sim::Fold(Wide(name));
  for (sim::RegValue& value : node.values) {
    if (sim::Fold(Wide(value.name)) == folded) return &value;
  }
  return nullptr;
}

// Replaces the value's type and data, or adds it after the others.
void SetValue(RegNode& node, const Text& name, uint32_t type, const Bytes& data) {
  if (sim::RegValue* value = FindValue(node, name)) {
    value->type = type;
    value->data = data;
  } else {
    node.values.push_back({name, type, data});
  }
}

// The data rules shared by RegQueryValueExA and RegEnumValueA.
long HandOutData(const sim::RegValue& value, uint32_t& type, uint8_t* data, uint32_t& dataSize) {
  type = value.type;
  const uint32_t size = static_cast<uint32_t>(value.data.size());
  if (data == nullptr) {
    dataSize = size;
    return kErrorSuccess;
  }
  if (dataSize < size) {
    dataSize = size;
    return kErrorMoreData;
  }
  if (size > 0) std::memcpy(data, value.data.data(), size);
  dataSize = size;
  return kErrorSuccess;
}

}  // namespace

// Resolves a handle to its key and the access it carries.
bool SimPlatform::State::ResolveKey(RegKey key, std::shared_ptr<RegNode>& node, uint32_t& access) {
  for (const auto& root : regRoots) {
    if (RootHandle(root.first) == key) {
      node = root.second;
      access = kAllAccess;
      return true;
    }
  }
  auto it = regHandles.find(key);
  if (it == regHandles.end()) return false;
  node = it->second.node;
  access = it->second.access;
  return true;
}

long SimPlatform::State::UsableKey(RegKey key, uint32_t needed, std::shared_ptr<RegNode>& node) {
  uint32_t access = 0;
  if (!ResolveKey(key, node, access)) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  return (access & needed) ? kErrorSuccess : kErrorAccessDenied;
}

std::shared_ptr<RegNode> SimPlatform::State::RegNodeAt(RegRoot root, const Text& keyPath, bool create) {
  std::shared_ptr<RegNode> node = regRoots[root];
  for (const WideText& part : SplitKeyPath(Wide(keyPath))) {
    const WideText key = sim::Fold(part);
    auto it = node->children.find(key);
    if (it == node->children.end()) {
      if (!create) return nullptr;
      auto child = std::make_shared<RegNode>();
      child->name = part;
      child->parent = node.get();
      it = node->children.emplace(key, child).first;
    }
    node = it->second;
  }
  return node;
}

// Opens or creates `subKey` below `parent`; the common body of the four calls.
long SimPlatform::State::OpenOrCreate(RegKey parent, const Text& subKey, uint32_t access, bool create,
                                      RegKey& opened) {
  opened = 0;
  std::shared_ptr<RegNode> node;
  uint32_t parentAccess = 0;
  if (!ResolveKey(parent, node, parentAccess)) return kErrorInvalidHandle;
  if (node->deleted) return kErrorKeyDeleted;
  for (const WideText& part : SplitKeyPath(Wide(subKey))) {
    const WideText key = sim::Fold(part);
    auto it = node->children.find(key);
    if (it == node->children.end()) {
      if (!create) return kErrorFileNotFound;
      if (part.size() > 255) return kErrorInvalidParameter;
      // Creating a key needs the right to add sub-keys to its parent.
      if (node->denied) return kErrorAccessDenied;
      auto child = std::make_shared<RegNode>();
      child->name = part;
      child->parent = node.get();
      it = node->children.emplace(key, child).first;
    }
    node = it->second;
  }
  if (node->denied) return kErrorAccessDenied;
  const RegKey handle = nextRegKey;
  nextRegKey += 4;
  regHandles[handle] = {node, KeyAccess(access)};
  opened = handle;
  return kErrorSuccess;
}

// ---- knobs -----------------------------------------------------------------------------------

bool SimPlatform::CreateRegKey(RegRoot root, const Text& keyPath) {
  Lock lock(state_->lock);
  return state_->RegNodeAt(root, keyPath, true) != nullptr;
}

bool SimPlatform::SetRegValue(RegRoot root, const Text& keyPath, const Text& valueName, uint32_t type,
                              const Bytes& data) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node = state_->RegNodeAt(root, keyPath, true);
  if (!node) return false;
  SetValue(*node, valueName, type, data);
  return true;
}

bool SimPlatform::SetRegText(RegRoot root, const Text& keyPath, const Text& valueName, const Text& text) {
  Bytes data(text.begin(), text.end());
  data.push_back(0);
  return SetRegValue(root, keyPath, valueName, kRegSz, data);
}

void SimPlatform::DenyRegKey(RegRoot root, const Text& keyPath, bool denied) {
  Lock lock(state_->lock);
  if (std::shared_ptr<RegNode> node = state_->RegNodeAt(root, keyPath, true)) node->denied = denied;
}

bool SimPlatform::RegKeyExists(RegRoot root, const Text& keyPath) const {
  Lock lock(state_->lock);
  return state_->RegNodeAt(root, keyPath, false) != nullptr;
}

std::optional<sim::RegValue> SimPlatform::State::RegValueAt(RegRoot root, const Text& keyPath,
                                                            const Text& valueName) {
  std::shared_ptr<RegNode> node = RegNodeAt(root, keyPath, false);
  const sim::RegValue* value = node ? FindValue(*node, valueName) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

std::optional<Bytes> SimPlatform::RegValueData(RegRoot root, const Text& keyPath, const Text& valueName) const {
  Lock lock(state_->lock);
  const std::optional<sim::RegValue> value = state_->RegValueAt(root, keyPath, valueName);
  if (!value) return std::nullopt;
  return value->data;
}

std::optional<uint32_t> SimPlatform::RegValueType(RegRoot root, const Text& keyPath, const Text& valueName) const {
  Lock lock(state_->lock);
  const std::optional<sim::RegValue> value = state_->RegValueAt(root, keyPath, valueName);
  if (!value) return std::nullopt;
  return value->type;
}

std::vector<Text> SimPlatform::RegSubkeyNames(RegRoot root, const Text& keyPath) const {
  Lock lock(state_->lock);
  std::vector<Text> names;
  std::shared_ptr<RegNode> node = state_->RegNodeAt(root, keyPath, false);
  if (!node) return names;
  for (const auto& child : node->children) names.push_back(Gbk(child.second->name));
  return names;
}

int SimPlatform::OpenRegKeyCount() const {
  Lock lock(state_->lock);
  return static_cast<int>(state_->regHandles.size());
}

void SimPlatform::SetNtRenameKeyAvailable(bool available) {
  Lock lock(state_->lock);
  state_->ntRenameKeyAvailable = available;
}

// ---- Platform ---------------------------------------------------------------------------------

RegKey SimPlatform::RegRootKey(RegRoot root) { return RootHandle(root); }

long SimPlatform::RegOpenKeyA(RegKey parent, const Text& subKey, RegKey& opened) {
  Lock lock(state_->lock);
  // An empty sub-key hands back the parent's own handle, as RegOpenKeyA does.
  if (subKey.empty()) {
    std::shared_ptr<RegNode> node;
    uint32_t access = 0;
    if (!state_->ResolveKey(parent, node, access)) return kErrorInvalidHandle;
    opened = parent;
    return kErrorSuccess;
  }
  return state_->OpenOrCreate(parent, subKey, 0x02000000u, false, opened);
}

long SimPlatform::RegCreateKeyA(RegKey parent, const Text& subKey, RegKey& opened) {
  Lock lock(state_->lock);
  return state_->OpenOrCreate(parent, subKey, 0x02000000u, true, opened);
}

long SimPlatform::RegOpenKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) {
  Lock lock(state_->lock);
  return state_->OpenOrCreate(parent, subKey, access, false, opened);
}

long SimPlatform::RegCreateKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) {
  Lock lock(state_->lock);
  return state_->OpenOrCreate(parent, subKey, access, true, opened);
}

long SimPlatform::RegCloseKey(RegKey key) {
  Lock lock(state_->lock);
  if (key >= 0x80000000u && key <= 0x80000006u) return kErrorSuccess;  // predefined keys stay open
  return state_->regHandles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

long SimPlatform::RegEnumKeyA(RegKey key, uint32_t index, uint32_t bufferSize, Text& name) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  if (const long refused = state_->UsableKey(key, kEnumerateSubKeys, node)) return refused;
  if (index >= node->children.size()) return kErrorNoMoreItems;
  auto it = node->children.begin();
  std::advance(it, index);
  const Text found = Gbk(it->second->name);
  if (found.size() + 1 > bufferSize) return kErrorMoreData;
  name = found;
  return kErrorSuccess;
}

long SimPlatform::RegQueryInfoKeyA(RegKey key, uint32_t& subKeys, uint32_t& maxSubKeyLength, uint32_t& values,
                                   uint32_t& maxValueNameLength, uint32_t& maxValueLength) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  if (const long refused = state_->UsableKey(key, kQueryValue, node)) return refused;
  // The name lengths are counted in UTF-16 units, as the registry keeps names.
  subKeys = static_cast<uint32_t>(node->children.size());
  maxSubKeyLength = 0;
  for (const auto& child : node->children)
    maxSubKeyLength = std::max<uint32_t>(maxSubKeyLength, static_cast<uint32_t>(child.second->name.size()));
  values = static_cast<uint32_t>(node->values.size());
  maxValueNameLength = 0;
  maxValueLength = 0;
  for (const sim::RegValue& value : node->values) {
    maxValueNameLength = std::max<uint32_t>(maxValueNameLength, static_cast<uint32_t>(Wide(value.name).size()));
    maxValueLength = std::max(maxValueLength, StoredSize(value));
  }
  return kErrorSuccess;
}

long SimPlatform::RegEnumValueA(RegKey key, uint32_t index, uint32_t nameBufferSize, Text& name, uint32_t& type,
                                uint8_t* data, uint32_t& dataSize) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  if (const long refused = state_->UsableKey(key, kQueryValue, node)) return refused;
  if (index >= node->values.size()) return kErrorNoMoreItems;
  const sim::RegValue& value = node->values[index];
  if (value.name.size() + 1 > nameBufferSize) return kErrorMoreData;
  name = value.name;
  return HandOutData(value, type, data, dataSize);
}

long SimPlatform::RegQueryValueExA(RegKey key, const Text& valueName, uint32_t& type, uint8_t* data,
                                   uint32_t& dataSize) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  if (const long refused = state_->UsableKey(key, kQueryValue, node)) return refused;
  const sim::RegValue* value = FindValue(*node, valueName);
  if (!value) return kErrorFileNotFound;
  return HandOutData(*value, type, data, dataSize);
}

long SimPlatform::RegSetValueExA(RegKey key, const Text& valueName, uint32_t type, const uint8_t* data,
                                 uint32_t size) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  if (const long refused = state_->UsableKey(key, kSetValue, node)) return refused;
  if (size > 0 && data == nullptr) return kErrorInvalidParameter;
  SetValue(*node, valueName, type, Bytes(data, data + size));
  return kErrorSuccess;
}

long SimPlatform::RegDeleteKeyA(RegKey parent, const Text& subKey) {
  Lock lock(state_->lock);
  RegKey opened = 0;
  const long result = state_->OpenOrCreate(parent, subKey, kAllAccess, false, opened);
  if (result != kErrorSuccess) return result;
  std::shared_ptr<RegNode> node = state_->regHandles[opened].node;
  state_->regHandles.erase(opened);
  // Roots cannot go, and a key with sub-keys must be emptied first.
  if (!node->parent || !node->children.empty()) return kErrorAccessDenied;
  node->deleted = true;
  node->parent->children.erase(sim::Fold(node->name));
  node->parent = nullptr;
  return kErrorSuccess;
}

long SimPlatform::RegDeleteValueA(RegKey key, const Text& valueName) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  if (const long refused = state_->UsableKey(key, kSetValue, node)) return refused;
  const WideText folded = sim::Fold(Wide(valueName));
  for (auto it = node->values.begin(); it != node->values.end(); ++it) {
    if (sim::Fold(Wide(it->name)) == folded) {
      node->values.erase(it);
      return kErrorSuccess;
    }
  }
  return kErrorFileNotFound;
}

long SimPlatform::RegFlushKey(RegKey key) {
  Lock lock(state_->lock);
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (!state_->ResolveKey(key, node, access)) return kErrorInvalidHandle;
  return node->deleted ? kErrorKeyDeleted : kErrorSuccess;
}

long SimPlatform::NtRenameKey(RegKey key, const WideText& newName) {
  Lock lock(state_->lock);
  if (!state_->ntRenameKeyAvailable) return kStatusProcedureNotFound;
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
  if (!state_->ResolveKey(key, node, access)) return kStatusInvalidHandle;
  if (node->deleted) return kStatusKeyDeleted;
  if (!node->parent) return kStatusAccessDenied;
  if (newName.empty() || newName.size() > 255 || newName.find(u'\\') != WideText::npos) return kStatusInvalidParameter;
  RegNode* parent = node->parent;
  const WideText oldKey = sim::Fold(node->name);
  const WideText newKey = sim::Fold(newName);
  // A name already taken among the siblings is refused, the key's own name
  // (in any letter case) included.
  if (parent->children.count(newKey)) return kStatusCannotDelete;
  std::shared_ptr<RegNode> self = parent->children[oldKey];
  parent->children.erase(oldKey);
  node->name = newName;
  parent->children[newKey] = self;
  return 0;
}

}  // namespace bm
