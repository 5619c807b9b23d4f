#pragma once

#include "core/services.h"

// A settings store over two roots, so nothing is lost without administrator
// rights. Writes go to the machine-wide store and, when it refuses, to the
// per-user one; reads prefer a value found in the per-user store. A successful
// machine-wide write also refreshes an existing per-user copy, so a stale
// copy never wins.
class FallbackSettingsStore : public SettingsStore {
 public:
  FallbackSettingsStore(SettingsStore& machine, SettingsStore& user) : machine_(machine), user_(user) {}
  std::optional<Value> Read(const std::string& keyPath, const std::string& name) const override;
  bool Write(const std::string& keyPath, const std::string& name, const std::string& bytes) override;

 private:
  SettingsStore& machine_;
  SettingsStore& user_;
};
