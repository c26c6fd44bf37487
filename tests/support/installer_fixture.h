#pragma once
// A run of the installer on fakes: the services of InstallerEnv, bound the way the entry
// point binds them, and helpers to create and show the wizard.

#include <gtest/gtest.h>

#include <memory>

#include "app/installer_env.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/text.h"
#include "deploy/install_manifest.h"
#include "formats/record_writer.h"
#include "platform/fake/fake_application.h"
#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_complus.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_resources.h"
#include "platform/fake/fake_shell.h"
#include "support/product_info_file.h"

namespace quillon {

class InstallerFixture : public ::testing::Test {
 protected:
  InstallerFixture() { Reset(); }
  ~InstallerFixture() override { BindLanguageServices(nullptr, nullptr); }

  // Fresh services: empty registry, no boxes, installer in C:\setup\.
  virtual void Reset() {
    registry = FakeRegistry();
    app = FakeApplication();
    env = InstallerEnv{};
    env.app = &app;
    env.registry = &registry;
    env.installer_dir = L"C:\\setup\\";
    files = std::make_unique<FakeFileSystem>();
    files->AddFolder(L"C:\\setup");
    env.files = files.get();
    env.code_page = &code_page;
    processes = FakeProcesses();
    env.processes = &processes;
    files->AddFolder(L"C:\\windows\\system32");
    files->AddFolder(L"C:\\ProgramData");
    shell = std::make_unique<FakeShell>(files.get());
    env.shell = shell.get();
    // The user's desktop and start menu exist, as on every Windows.
    files->AddFolder(shell->FolderPath(SpecialFolder::Desktop));
    files->AddFolder(shell->FolderPath(SpecialFolder::StartMenuPrograms));
    resources = FakeResources();
    env.resources = &resources;
    complus = FakeComPlusCatalogue();
    env.complus = &complus;
    // A 32-bit Excel 2016 is installed.
    automation = FakeAutomation();
    automation.properties = {{L"Version", L"16.0"},
                             {L"ProductCode", L"{90160000-0011-0000-0000-0000000FF1CE}"}};
    env.automation = &automation;
    CarryPayload(
        {{L"modCalc.dll", "calc"}, {L"Stampfile.INI", "UpdateDateTime=20150527213310640\r\n"}});
    WriteProductInfo(DefaultProductInfo());
    BindLanguageServices(&registry, &app);
  }

  // Puts a product information file with these fields beside the installer.
  void WriteProductInfo(const ProductInfoFields& fields) {
    files->AddFile(L"C:\\setup\\PInfo.dat", ProductInfoFile(fields, code_page));
  }

  // The payload store the installer carries: these files, in this order, each to be copied.
  void CarryPayload(const std::vector<std::pair<std::wstring, std::string>>& entries) {
    std::wstring manifest;
    for (const auto& e : entries) {
      manifest += e.first + L"=0\r\n";
      resources.Add(kPayloadType, UpperAscii(PayloadBlobName(e.first)),
                    WriteRecord(Bytes(e.second.begin(), e.second.end())));
    }
    const std::string ansi = code_page.ToAnsi(manifest);
    resources.Add(kManifestType, kManifestName, Bytes(ansi.begin(), ansi.end()));
  }

  std::unique_ptr<TfrmClientInstall> Create() {
    BindLanguageServices(&registry, &app);
    auto form = std::make_unique<TfrmClientInstall>(env);
    form->FormCreate();
    return form;
  }

  std::unique_ptr<TfrmClientInstall> CreateAndShow() {
    auto form = Create();
    TfrmClientInstall* raw = form.get();
    app.RunMainForm(*raw, [raw] { raw->FormShow(); });
    return form;
  }

  FakeRegistry registry;
  FakeApplication app;
  InstallerEnv env;
  // The installer's folder C:\setup\ exists and holds PInfo.dat with DefaultProductInfo.
  std::unique_ptr<FakeFileSystem> files;
  FakeCodePage code_page{"GBK"};
  FakeProcesses processes;
  std::unique_ptr<FakeShell> shell;
  FakeResources resources;
  FakeComPlusCatalogue complus;
  FakeAutomation automation;
};

}  // namespace quillon
