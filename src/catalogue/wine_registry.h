// HKEY_CLASSES_ROOT of a Wine prefix as a program of a given bitness sees it:
// the machine's Software\Classes (system.reg) overlaid by the user's
// (user.reg), with Wine's WOW64 redirection and registry links.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue/registry.h"
#include "catalogue/wine_registry_file.h"

namespace velbrook::catalogue {

enum class ProgramBitness { k32Bit, k64Bit };

class WineRegistry : public ClassesRegistry {
 public:
  // user may be null (no user.reg). prefix_is_64bit: a win64 prefix, where a
  // 32-bit program's keys are redirected into Wow6432Node copies.
  WineRegistry(std::shared_ptr<const WineRegistryFile> machine,
               std::shared_ptr<const WineRegistryFile> user, bool prefix_is_64bit,
               ProgramBitness bitness);

  std::unique_ptr<RegistryKey> OpenKey(const std::string& path) const override;

  // One layer of an open key: its node in user.reg or system.reg and that
  // file's Software\Classes, below which a 32-bit view falls back from
  // Wow6432Node to the 64-bit key.
  struct KeyLayer {
    const WineKeyNode* node;
    const WineKeyNode* classes_root;
  };
  // Opens path relative to an open key's layers, each layer walked on its
  // own as OpenKey walks it from the root; null when no layer has the key.
  std::unique_ptr<RegistryKey> OpenBelow(const std::vector<KeyLayer>& start,
                                         const std::string& path) const;

  // Keys outside HKEY_CLASSES_ROOT, by ANSI path below HKEY_LOCAL_MACHINE or
  // HKEY_CURRENT_USER, without redirection; null when missing.
  const WineKeyNode* MachineKey(const std::string& path) const;
  const WineKeyNode* UserKey(const std::string& path) const;
  // A value's string data as ANSI text (without NUL), empty when missing.
  static std::string StringValue(const WineKeyNode* key, const std::string& name);
  // A string value's data as ANSI text without its NUL; other types raw.
  static std::string ValueText(const WineValue& value);

  bool redirects() const { return redirect_; }

 private:
  const WineKeyNode* Resolve(const WineKeyNode* start, const WineKeyNode* shared_root,
                             const std::vector<std::u16string>& parts, bool redirect,
                             int depth) const;
  const WineKeyNode* FollowLink(const WineKeyNode* node, int depth) const;

  std::shared_ptr<const WineRegistryFile> machine_;
  std::shared_ptr<const WineRegistryFile> user_;
  bool redirect_;
  const WineKeyNode* machine_classes_ = nullptr;
  const WineKeyNode* user_classes_ = nullptr;
};

}  // namespace velbrook::catalogue
