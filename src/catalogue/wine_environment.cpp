// WineEnvironment: the prefix-derived variables and the registry's
// environment keys, in the order Wine builds a new process's environment.
#include "catalogue/wine_environment.h"

#include "catalogue/ascii_text.h"
#include "catalogue/code_page.h"
#include "catalogue/environment_text.h"

namespace velbrook::catalogue {

namespace {

// GetEnvironmentVariableA with a 255-byte buffer leaves a longer value out.
constexpr size_t kVariableBufferSize = 255;

std::string OrDefault(const std::string& value, const std::string& fallback) {
  return value.empty() ? fallback : value;
}

}  // namespace

WineEnvironment::WineEnvironment(const WineRegistry& registry, bool prefix_is_64bit,
                                 ProgramBitness bitness) {
  // Wine keeps Windows in C:\windows; winsysdir, when set, names its system32.
  std::string system_root = "C:\\windows";
  const WineKeyNode* system_env =
      registry.MachineKey("System\\CurrentControlSet\\Control\\Session Manager\\Environment");
  std::string sysdir = WineRegistry::StringValue(system_env, "winsysdir");
  size_t slash = sysdir.rfind('\\');
  if (slash != std::string::npos && slash > 2) system_root = sysdir.substr(0, slash);
  Set("SystemRoot", system_root);
  Set("windir", system_root);
  Set("SystemDrive", system_root.substr(0, 2));

  const WineKeyNode* current_version =
      registry.MachineKey("Software\\Microsoft\\Windows\\CurrentVersion");
  std::string program_files =
      OrDefault(WineRegistry::StringValue(current_version, "ProgramFilesDir"), "C:\\Program Files");
  std::string common_files = OrDefault(WineRegistry::StringValue(current_version, "CommonFilesDir"),
                                       program_files + "\\Common Files");
  bool wow = prefix_is_64bit && bitness == ProgramBitness::k32Bit;
  if (prefix_is_64bit) {
    std::string program_files_x86 =
        OrDefault(WineRegistry::StringValue(current_version, "ProgramFilesDir (x86)"),
                  "C:\\Program Files (x86)");
    std::string common_files_x86 =
        OrDefault(WineRegistry::StringValue(current_version, "CommonFilesDir (x86)"),
                  program_files_x86 + "\\Common Files");
    Set("ProgramFiles(x86)", program_files_x86);
    Set("CommonProgramFiles(x86)", common_files_x86);
    Set("ProgramW6432", program_files);
    Set("CommonProgramW6432", common_files);
    if (wow) {
      program_files = program_files_x86;
      common_files = common_files_x86;
    }
  }
  Set("ProgramFiles", program_files);
  Set("CommonProgramFiles", common_files);
  Set("ProgramData", system_root.substr(0, 2) + "\\ProgramData");
  Set("ALLUSERSPROFILE", system_root.substr(0, 2) + "\\ProgramData");

  AddKeyValues(system_env);
  AddKeyValues(registry.UserKey("Environment"));
  if (wow) {
    // Wine gives 32-bit programs their own view of these.
    Set("PROCESSOR_ARCHITECTURE", "x86");
  }
}

void WineEnvironment::Set(const std::string& name, const std::string& value) {
  values_[UpperAscii(name)] = value;
}

void WineEnvironment::AddKeyValues(const WineKeyNode* key) {
  if (key == nullptr) return;
  for (const auto& entry : key->values) {
    const WineValue& value = entry.second;
    if (value.type != kRegSz && value.type != kRegExpandSz) continue;
    std::string text = WineRegistry::ValueText(value);
    if (value.type == kRegExpandSz) text = ExpandEnvironmentText(text, *this);
    Set(Utf16ToAnsi(value.name), text);
  }
}

std::string WineEnvironment::Variable(const std::string& name) const {
  auto it = values_.find(UpperAscii(name));
  if (it == values_.end() || it->second.size() >= kVariableBufferSize) return "";
  return it->second;
}

}  // namespace velbrook::catalogue
