#pragma once
// A run of the installer on fakes: the services of InstallerEnv, bound the way the entry
// point binds them, and helpers to create and show the wizard.

#include <gtest/gtest.h>

#include <memory>

#include "app/installer_env.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "platform/fake/fake_application.h"
#include "platform/fake/fake_code_page.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
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
    WriteProductInfo(DefaultProductInfo());
    BindLanguageServices(&registry, &app);
  }

  // Puts a product information file with these fields beside the installer.
  void WriteProductInfo(const ProductInfoFields& fields) {
    files->AddFile(L"C:\\setup\\PInfo.dat", ProductInfoFile(fields, code_page));
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
};

}  // namespace quillon
