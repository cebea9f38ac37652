// Opening a Wine prefix: registry files, bitness of the prefix and the
// objects built on them.
#include "catalogue/wine_prefix.h"

#include <filesystem>
#include <system_error>

namespace velbrook::catalogue {

Result<std::unique_ptr<WinePrefix>> WinePrefix::Open(const std::string& dir,
                                                     ProgramBitness bitness) {
  std::error_code error;
  if (dir.empty() || !std::filesystem::is_directory(dir, error)) {
    return MakeError(ErrorKind::kNotFound, "no Wine prefix at \"" + dir + "\"");
  }
  auto machine = LoadWineRegistryFile(dir + "/system.reg");
  if (!machine.ok()) return machine.error();
  std::shared_ptr<const WineRegistryFile> user;
  if (std::filesystem::exists(dir + "/user.reg", error)) {
    auto user_file = LoadWineRegistryFile(dir + "/user.reg");
    if (!user_file.ok()) return user_file.error();
    user = std::make_shared<const WineRegistryFile>(std::move(user_file.value()));
  }
  std::unique_ptr<WinePrefix> prefix(new WinePrefix());
  // Old prefixes have no "#arch" line; a syswow64 directory tells then.
  const std::string& arch = machine.value().arch;
  prefix->is_64bit_ = arch.empty()
                          ? std::filesystem::is_directory(dir + "/drive_c/windows/syswow64", error)
                          : arch == "win64";
  prefix->registry_ = std::make_unique<WineRegistry>(
      std::make_shared<const WineRegistryFile>(std::move(machine.value())), user, prefix->is_64bit_,
      bitness);
  prefix->environment_ =
      std::make_unique<WineEnvironment>(*prefix->registry_, prefix->is_64bit_, bitness);
  prefix->paths_ =
      std::make_unique<WinePathMapper>(dir, prefix->environment_->system_root(),
                                       prefix->is_64bit_ && bitness == ProgramBitness::k32Bit);
  prefix->file_system_ = std::make_unique<WineFileSystem>(*prefix->paths_);
  prefix->paths_64_ =
      std::make_unique<WinePathMapper>(dir, prefix->environment_->system_root(), false);
  prefix->file_system_64_ = std::make_unique<WineFileSystem>(*prefix->paths_64_);
  return prefix;
}

}  // namespace velbrook::catalogue
