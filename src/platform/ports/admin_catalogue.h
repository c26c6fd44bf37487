#pragma once
// The COM+ administration catalogue as Windows publishes it (COMAdmin.COMAdminCatalog and
// its collections and objects), reduced to what the installer uses. A populated collection
// is a working copy: its changes reach the catalogue only through SaveChanges. Every failure
// raises CatalogueError with the catalogue's own text.

#include <memory>
#include <string>
#include <variant>

#include "base/error.h"

namespace quillon {

class CatalogueError : public Error {
 public:
  using Error::Error;
};

// A property value: text, integer or Boolean.
using CatalogueValue = std::variant<std::wstring, long, bool>;

class CatalogueObject {
 public:
  virtual ~CatalogueObject() = default;
  virtual std::wstring Name() = 0;
  virtual std::wstring Key() = 0;
  virtual void SetValue(const std::wstring& property, const CatalogueValue& value) = 0;
};

class CatalogueCollection {
 public:
  virtual ~CatalogueCollection() = default;
  virtual void Populate() = 0;
  virtual long Count() = 0;
  // Zero-based.
  virtual std::unique_ptr<CatalogueObject> Item(long index) = 0;
  virtual std::unique_ptr<CatalogueObject> Add() = 0;
  virtual void Remove(long index) = 0;
  virtual void SaveChanges() = 0;
  // A related collection of one object of this one ("Components" of an application).
  virtual std::unique_ptr<CatalogueCollection> GetCollection(const std::wstring& name,
                                                             const std::wstring& key) = 0;
};

class Catalogue {
 public:
  virtual ~Catalogue() = default;
  virtual std::unique_ptr<CatalogueCollection> GetCollection(const std::wstring& name) = 0;
  virtual void InstallComponent(const std::wstring& application, const std::wstring& dll,
                                const std::wstring& type_library,
                                const std::wstring& proxy_stub) = 0;
  virtual void ShutdownApplication(const std::wstring& application) = 0;
};

class CatalogueService {
 public:
  virtual ~CatalogueService() = default;
  // Creates the catalogue object anew.
  virtual std::unique_ptr<Catalogue> Open() = 0;
};

}  // namespace quillon
