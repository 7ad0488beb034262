// The Qt host's add-on manager: the manager with the host's main window
// (when a widget application runs) and the picture of its map view.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "host/com/host_com_manager.h"
#include "host/com/host_map_picture.h"

namespace host {

class THostManager : public THostComManager {
 public:
  // Makes the main window when a Qt widget application runs.
  explicit THostManager(const std::string& SettingsPath = THostSettingsStore::DefaultPath());
  ~THostManager();

  // The main window; there is none when no widget application was made.
  QMainWindow& MainWindow() const { return *FMainWindow; }
  // The map view drawn on an image.
  THostMapPicture& Picture() { return FPicture; }

 private:
  std::unique_ptr<QMainWindow> FMainWindow;
  THostMapPicture FPicture;
};

}  // namespace host
