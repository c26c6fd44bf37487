#include "app/logged_services.h"

#include "base/text.h"
#include "platform/ports/forwarding_file_system.h"

namespace quillon {

namespace {

std::wstring Bytes(size_t n) {
  return IntToText(static_cast<long long>(n)) + L" bytes";
}

const wchar_t* Done(bool ok) {
  return ok ? L"" : L" (refused)";
}

class LoggedFileSystem : public ForwardingFileSystem {
 public:
  LoggedFileSystem(FileSystem& inner, SetupLog& log) : ForwardingFileSystem(inner), log_(log) {}

  void WriteFile(const std::wstring& path, const quillon::Bytes& data) override {
    inner_.WriteFile(path, data);
    log_.Line(L"file written: " + path + L", " + Bytes(data.size()));
  }
  std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) override {
    return std::make_unique<Replacement>(inner_.BeginReplace(path), path, log_);
  }
  void DeleteFile(const std::wstring& path) override {
    const bool existed = inner_.FileExists(path);
    inner_.DeleteFile(path);
    if (existed) log_.Line(L"file deleted: " + path);
  }
  bool CreateDirectory(const std::wstring& path) override {
    const bool existed = inner_.DirectoryExists(path);
    const bool ok = inner_.CreateDirectory(path);
    if (!existed) log_.Line(L"folder made: " + path + Done(ok));
    return ok;
  }
  bool CopyFile(const std::wstring& from, const std::wstring& to) override {
    const bool ok = inner_.CopyFile(from, to);
    log_.Line(L"file copied: " + from + L" -> " + to + Done(ok));
    return ok;
  }

 private:
  class Replacement : public ForwardingReplacement {
   public:
    Replacement(std::unique_ptr<FileReplacement> inner, std::wstring path, SetupLog& log)
        : ForwardingReplacement(std::move(inner)), path_(std::move(path)), log_(log) {}
    void Commit() override {
      const size_t size = inner_->Size();
      inner_->Commit();
      log_.Line(L"file written: " + path_ + L", " + Bytes(size));
    }

   private:
    std::wstring path_;
    SetupLog& log_;
  };

  SetupLog& log_;
};

std::wstring HiveName(RootKey root) {
  switch (root) {
    case RootKey::CurrentUser:
      return L"HKEY_CURRENT_USER";
    case RootKey::LocalMachine:
      return L"HKEY_LOCAL_MACHINE";
    default:
      return L"HKEY_LOCAL_MACHINE (64-bit view)";
  }
}

class LoggedKey : public RegistryKey {
 public:
  LoggedKey(std::unique_ptr<RegistryKey> inner, std::wstring where, SetupLog& log)
      : inner_(std::move(inner)), where_(std::move(where)), log_(log) {}
  RegValueKind ValueKind(const std::wstring& name) override { return inner_->ValueKind(name); }
  std::wstring ReadString(const std::wstring& name) override { return inner_->ReadString(name); }
  uint32_t ReadDword(const std::wstring& name) override { return inner_->ReadDword(name); }
  bool WriteString(const std::wstring& name, const std::wstring& text) override {
    const bool ok = inner_->WriteString(name, text);
    log_.Line(L"registry value written: " + where_ + L" " + name + L" = \"" + text + L"\"" +
              Done(ok));
    return ok;
  }
  bool WriteDword(const std::wstring& name, uint32_t value) override {
    const bool ok = inner_->WriteDword(name, value);
    log_.Line(L"registry value written: " + where_ + L" " + name + L" = dword:" + IntToText(value) +
              Done(ok));
    return ok;
  }
  std::vector<std::wstring> ValueNames() override { return inner_->ValueNames(); }
  bool DeleteValue(const std::wstring& name) override {
    const bool ok = inner_->DeleteValue(name);
    log_.Line(L"registry value deleted: " + where_ + L" " + name + Done(ok));
    return ok;
  }

 private:
  std::unique_ptr<RegistryKey> inner_;
  std::wstring where_;
  SetupLog& log_;
};

class LoggedRegistry : public Registry {
 public:
  LoggedRegistry(Registry& inner, SetupLog& log) : inner_(inner), log_(log) {}
  std::unique_ptr<RegistryKey> OpenForRead(RootKey root, const std::wstring& path) override {
    return inner_.OpenForRead(root, path);
  }
  std::unique_ptr<RegistryKey> OpenExisting(RootKey root, const std::wstring& path) override {
    return Wrap(inner_.OpenExisting(root, path), root, path);
  }
  std::unique_ptr<RegistryKey> OpenForWrite(RootKey root, const std::wstring& path) override {
    return Wrap(inner_.OpenForWrite(root, path), root, path);
  }
  bool KeyExists(RootKey root, const std::wstring& path) override {
    return inner_.KeyExists(root, path);
  }
  bool DeleteTree(RootKey root, const std::wstring& path) override {
    const bool ok = inner_.DeleteTree(root, path);
    log_.Line(L"registry key deleted: " + HiveName(root) + L"\\" + path + Done(ok));
    return ok;
  }
  std::optional<uint64_t> LastWriteTime(RootKey root, const std::wstring& path) override {
    return inner_.LastWriteTime(root, path);
  }

 private:
  std::unique_ptr<RegistryKey> Wrap(std::unique_ptr<RegistryKey> key, RootKey root,
                                    const std::wstring& path) {
    if (!key) return key;
    return std::make_unique<LoggedKey>(std::move(key), HiveName(root) + L"\\" + path, log_);
  }
  Registry& inner_;
  SetupLog& log_;
};

class LoggedShell : public Shell {
 public:
  LoggedShell(Shell& inner, SetupLog& log) : inner_(inner), log_(log) {}
  bool Open(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
            ShowMode show) override {
    const bool ok = inner_.Open(file, parameters, directory, show);
    log_.Line(L"program started: " + Trim(file + L" " + parameters) + L" (not waited for)" +
              Done(ok));
    return ok;
  }
  bool DeleteFolder(WindowHandle owner, const std::wstring& folder) override {
    const bool ok = inner_.DeleteFolder(owner, folder);
    log_.Line(L"folder deleted: " + folder + Done(ok));
    return ok;
  }
  bool CopyFolder(WindowHandle owner, const std::wstring& from, const std::wstring& to) override {
    const bool ok = inner_.CopyFolder(owner, from, to);
    log_.Line(L"folder copied: " + from + L" -> " + to + Done(ok));
    return ok;
  }
  std::wstring FolderPath(SpecialFolder folder) override { return inner_.FolderPath(folder); }
  bool SaveShellLink(const std::wstring& file, const ShellLinkSpec& link) override {
    const bool ok = inner_.SaveShellLink(file, link);
    log_.Line(L"shortcut saved: " + file + L" -> " + Trim(link.target + L" " + link.arguments) +
              L", in " + link.working_folder +
              (link.icon_path.empty() ? std::wstring() : L", icon " + link.icon_path) + Done(ok));
    return ok;
  }

 private:
  Shell& inner_;
  SetupLog& log_;
};

class LoggedProcess : public StartedProcess {
 public:
  LoggedProcess(std::unique_ptr<StartedProcess> inner, std::wstring name, SetupLog& log)
      : inner_(std::move(inner)), name_(std::move(name)), log_(log) {}
  void WaitUntilIdle() override { inner_->WaitUntilIdle(); }
  bool WaitForExit(int milliseconds) override {
    const bool ended = inner_->WaitForExit(milliseconds);
    if (ended && !said_) {
      said_ = true;
      uint32_t code = 0;
      log_.Line(L"program ended: " + name_ +
                (inner_->ExitCode(&code) ? L", exit code " + IntToText(code) : std::wstring()));
    }
    return ended;
  }
  bool ExitCode(uint32_t* code) override { return inner_->ExitCode(code); }

 private:
  std::unique_ptr<StartedProcess> inner_;
  std::wstring name_;
  SetupLog& log_;
  bool said_ = false;
};

class LoggedProcesses : public Processes {
 public:
  LoggedProcesses(Processes& inner, SetupLog& log) : inner_(inner), log_(log) {}
  std::unique_ptr<StartedProcess> Start(const std::wstring& program, const std::wstring& parameters,
                                        ShowMode show) override {
    std::unique_ptr<StartedProcess> child = inner_.Start(program, parameters, show);
    const std::wstring name = Trim(program + L" " + parameters);
    log_.Line(L"program started: " + name + Done(child != nullptr));
    if (!child) return child;
    return std::make_unique<LoggedProcess>(std::move(child), name, log_);
  }
  std::vector<ProcessEntry> Snapshot() override { return inner_.Snapshot(); }
  bool Terminate(uint32_t id) override {
    const bool ok = inner_.Terminate(id);
    log_.Line(L"process ended by the installer: id " + IntToText(id) + Done(ok));
    return ok;
  }

 private:
  Processes& inner_;
  SetupLog& log_;
};

class LoggedComPlus : public ComPlusCatalogue {
 public:
  LoggedComPlus(ComPlusCatalogue& inner, SetupLog& log) : inner_(inner), log_(log) {}
  void ShutdownComPlusApp(const std::wstring& app) override {
    Step(L"shut down application " + app, [&] { inner_.ShutdownComPlusApp(app); });
  }
  void RemoveComPlusApp(const std::wstring& app) override {
    Step(L"remove application " + app, [&] { inner_.RemoveComPlusApp(app); });
  }
  void CreateComPlusApp(const std::wstring& app, const std::wstring& user,
                        const std::wstring& password) override {
    // The password never goes into the log.
    Step(L"create application " + app + (user.empty() ? std::wstring() : L", identity " + user),
         [&] { inner_.CreateComPlusApp(app, user, password); });
  }
  void SetComPlusAppProps(const std::wstring& app) override {
    Step(L"set the properties of application " + app, [&] { inner_.SetComPlusAppProps(app); });
  }
  void InstallComPlusComponents(const std::wstring& app, const std::wstring& dll) override {
    Step(L"install the components of " + dll + L" into " + app,
         [&] { inner_.InstallComPlusComponents(app, dll); });
  }
  void SetComPlusComponentProps(const std::wstring& app) override {
    Step(L"set the component properties of " + app, [&] { inner_.SetComPlusComponentProps(app); });
  }

 private:
  template <typename F>
  void Step(const std::wstring& what, F run) {
    try {
      run();
    } catch (...) {
      log_.Line(L"COM+ step failed: " + what);
      throw;
    }
    log_.Line(L"COM+ step: " + what);
  }
  ComPlusCatalogue& inner_;
  SetupLog& log_;
};

}  // namespace

LoggedServices::LoggedServices(const InstallerEnv& base, SetupLog& log) : env(base) {
  if (base.files) {
    files_ = std::make_unique<LoggedFileSystem>(*base.files, log);
    env.files = files_.get();
  }
  if (base.registry) {
    registry_ = std::make_unique<LoggedRegistry>(*base.registry, log);
    env.registry = registry_.get();
  }
  if (base.shell) {
    shell_ = std::make_unique<LoggedShell>(*base.shell, log);
    env.shell = shell_.get();
  }
  if (base.processes) {
    processes_ = std::make_unique<LoggedProcesses>(*base.processes, log);
    env.processes = processes_.get();
  }
  if (base.complus) {
    complus_ = std::make_unique<LoggedComPlus>(*base.complus, log);
    env.complus = complus_.get();
  }
  env.log = &log;
}

LoggedServices::~LoggedServices() = default;

}  // namespace quillon
