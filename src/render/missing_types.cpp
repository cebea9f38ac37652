// Notes and warnings for types of imported libraries that were not found.
#include "render/missing_types.h"

#include <map>
#include <set>

namespace velbrook::render {

namespace {

constexpr size_t kListed = 10;

std::string CommentSafe(const std::string& text) {
  std::string safe = text;
  for (char& c : safe) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '\'') c = '?';
  }
  return safe;
}

}  // namespace

std::string MissingTypeText(const typeinfo::MissingType& missing) {
  return CommentSafe(missing.type) + " from " + CommentSafe(missing.import_file);
}

std::vector<std::string> MissingTypeWarnings(const std::vector<typeinfo::MissingType>& missing) {
  std::vector<std::string> files;
  std::map<std::string, std::vector<std::string>> types;
  std::set<std::pair<std::string, std::string>> seen;
  for (const typeinfo::MissingType& m : missing) {
    if (!seen.insert({m.import_file, m.type}).second) continue;
    if (types.find(m.import_file) == types.end()) files.push_back(m.import_file);
    types[m.import_file].push_back(CommentSafe(m.type));
  }
  std::vector<std::string> warnings;
  for (const std::string& file : files) {
    const std::vector<std::string>& names = types[file];
    std::string text = "Sorry, the library this one imports as " + CommentSafe(file) +
                       " was not found, so " + std::to_string(names.size()) +
                       (names.size() == 1 ? " type from it is" : " types from it are") +
                       " written as integers:";
    for (size_t i = 0; i < names.size() && i < kListed; ++i) {
      text += (i == 0 ? " " : ", ") + names[i];
    }
    if (names.size() > kListed) text += " and " + std::to_string(names.size() - kListed) + " more";
    warnings.push_back(text + ".");
  }
  return warnings;
}

}  // namespace velbrook::render
