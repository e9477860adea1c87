#include "tests/support/binary_resources.h"

#include <cstdint>

namespace {

// The layout of an RT_GROUP_ICON resource: a header, then one entry per image.
#pragma pack(push, 2)
struct TIconGroupHeader {
  std::uint16_t Reserved;
  std::uint16_t Type;
  std::uint16_t Count;
};
struct TIconGroupEntry {
  std::uint8_t Width;  // 0 stands for 256
  std::uint8_t Height;
  std::uint8_t ColourCount;
  std::uint8_t Reserved;
  std::uint16_t Planes;
  std::uint16_t BitCount;
  std::uint32_t BytesInResource;
  std::uint16_t Id;
};
#pragma pack(pop)

// A resource's bytes, or none.
std::string ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
  const HRSRC found = FindResourceW(module, name, type);
  if (found == nullptr) return {};
  const HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

}  // namespace

TBinaryResources::TBinaryResources(const std::filesystem::path& file)
    : Module_(LoadLibraryExW(file.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}

std::string TBinaryResources::Manifest() const {
  return ResourceBytes(Module_.Get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
}

std::vector<int> TBinaryResources::IconSizes(int groupId) const {
  const std::string group = ResourceBytes(Module_.Get(), MAKEINTRESOURCEW(groupId), RT_GROUP_ICON);
  std::vector<int> sizes;
  if (group.size() < sizeof(TIconGroupHeader)) return sizes;
  const auto* header = reinterpret_cast<const TIconGroupHeader*>(group.data());
  const auto* entries = reinterpret_cast<const TIconGroupEntry*>(group.data() + sizeof *header);
  if (group.size() < sizeof *header + header->Count * sizeof *entries) return sizes;
  for (std::uint16_t i = 0; i < header->Count; ++i) {
    if (entries[i].Width != entries[i].Height) return {};  // not a square: no size
    sizes.push_back(entries[i].Width == 0 ? 256 : entries[i].Width);
  }
  return sizes;
}

std::vector<std::string> StartTags(const std::string& xml, const std::string& name) {
  std::vector<std::string> tags;
  for (std::size_t at = xml.find("<" + name); at != std::string::npos;
       at = xml.find("<" + name, at + 1)) {
    const char after = xml[at + 1 + name.size()];
    if (after != ' ' && after != '>' && after != '/' && after != '\n' && after != '\r') continue;
    const std::size_t end = xml.find('>', at);
    if (end == std::string::npos) break;
    tags.push_back(xml.substr(at, end - at + 1));
  }
  return tags;
}

std::string AttributeOf(const std::string& tag, const std::string& attribute) {
  const std::string opening = " " + attribute + "=\"";
  const std::size_t at = tag.find(opening);
  if (at == std::string::npos) return {};
  const std::size_t start = at + opening.size();
  const std::size_t end = tag.find('"', start);
  return end == std::string::npos ? std::string() : tag.substr(start, end - start);
}

std::string ElementText(const std::string& xml, const std::string& name) {
  const std::vector<std::string> tags = StartTags(xml, name);
  if (tags.empty()) return {};
  const std::size_t start = xml.find(tags.front()) + tags.front().size();
  const std::size_t end = xml.find("</" + name + ">", start);
  return end == std::string::npos ? std::string() : xml.substr(start, end - start);
}
