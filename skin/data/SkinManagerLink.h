#pragma once

#include <windows.h>

#include <functional>
#include <memory>

class TSkinData;

// What the skin data component asks of the process-wide control manager. The manager lives
// a layer up (skin/forms) and registers its factory at start-up, so that no include runs
// upward; until a factory is registered, components load and parse skins and skin nothing.
class ISkinManager {
 public:
  enum Command { kSkinAll = 1, kUnskinAll = 2, kRefresh = 3 };
  virtual ~ISkinManager() = default;
  virtual void RegisterSkinData(TSkinData& data) = 0;
  virtual void UnregisterSkinData(TSkinData& data) = 0;
  virtual void InstallHook() = 0;
  virtual void SetPendingSkinData(TSkinData* data) = 0;
  virtual void ScheduleCommand(int command, int delayMs) = 0;
  virtual int State() const = 0;
  virtual void SetState(int state) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // Every form skinner that uses `data` re-reads its records.
  virtual void ReloadSkinData(TSkinData& data) = 0;
  virtual bool SkinWindow(HWND window) = 0;
};

namespace skin {

using SkinManagerFactory = std::function<std::unique_ptr<ISkinManager>()>;
void SetSkinManagerFactory(SkinManagerFactory factory);
ISkinManager* SkinManager();        // the manager, or null when none was made yet
ISkinManager* EnsureSkinManager();  // made through the factory when there is none
void DestroySkinManager();          // module end

}  // namespace skin
