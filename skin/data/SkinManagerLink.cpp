#include "skin/data/SkinManagerLink.h"

namespace skin {

namespace {

SkinManagerFactory& Factory() {
  static SkinManagerFactory factory;
  return factory;
}

std::unique_ptr<ISkinManager>& Instance() {
  static std::unique_ptr<ISkinManager> manager;
  return manager;
}

}  // namespace

void SetSkinManagerFactory(SkinManagerFactory factory) { Factory() = std::move(factory); }

ISkinManager* SkinManager() { return Instance().get(); }

ISkinManager* EnsureSkinManager() {
  if (!Instance() && Factory()) Instance() = Factory()();
  return Instance().get();
}

void DestroySkinManager() { Instance().reset(); }

}  // namespace skin
