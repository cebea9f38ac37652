// The environment a program started in a Wine prefix would have, as far as
// registered type library paths use it: the variables Wine derives from the
// prefix (SystemRoot, windir, SystemDrive, ProgramFiles, CommonProgramFiles
// and their (x86) and W6432 forms, ProgramData, ALLUSERSPROFILE), then the
// system environment of system.reg (Session Manager\Environment), then the
// user's (user.reg [Environment]), later ones overriding; values of
// REG_EXPAND_SZ type expanded once with what is known so far. Names are
// case-insensitive. The Unix environment of this process is not consulted.
#pragma once

#include <map>
#include <string>

#include "catalogue/host.h"
#include "catalogue/wine_registry.h"

namespace velbrook::catalogue {

class WineEnvironment : public Environment {
 public:
  WineEnvironment(const WineRegistry& registry, bool prefix_is_64bit, ProgramBitness bitness);
  std::string Variable(const std::string& name) const override;

  std::string system_root() const { return Variable("SystemRoot"); }

 private:
  void Set(const std::string& name, const std::string& value);
  void AddKeyValues(const WineKeyNode* key);

  std::map<std::string, std::string> values_;  // by upper-cased name
};

}  // namespace velbrook::catalogue
