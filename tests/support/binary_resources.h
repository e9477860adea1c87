// What a built binary carries in its resources, read from the file without running it:
// its manifest and the sizes of its icon groups.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"

class TBinaryResources {
 public:
  explicit TBinaryResources(const std::filesystem::path& file);
  bool Loaded() const { return static_cast<bool>(Module_); }

  // The application manifest (RT_MANIFEST 1) as the bytes it holds; empty when there is none.
  std::string Manifest() const;
  // The width of each image of the icon group, in the order the group lists them.
  std::vector<int> IconSizes(int groupId) const;

 private:
  TUniqueLibrary Module_;
};

// Each start tag of the element in an XML text, from "<name" to its ">", in order.
std::vector<std::string> StartTags(const std::string& xml, const std::string& name);
// The value of an attribute of a start tag, or empty.
std::string AttributeOf(const std::string& tag, const std::string& attribute);
// The text between the element's first start tag and its end tag, or empty.
std::string ElementText(const std::string& xml, const std::string& name);
