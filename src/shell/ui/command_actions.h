// The main window's add-command controls: the command tool bar CmdToolBar ("Command
// Speed Bar") with one button per add handler, the items of the "Insert..." submenu of a
// command's pop-up menu and those of the "Add Script..." submenu of a block's and the
// blank line's. Each calls its handler (AddCommandClick) on the
// experiment of the session; a command whose dialog does not exist yet keeps its
// controls disabled. The buttons stay enabled during a run: the handler refuses then
// with its message.
#pragma once

#include <QObject>

#include <functional>

class QMainWindow;
class QMenu;
class QToolBar;
class TDevice;
class TDocumentSession;
class TTreeNode;

class TCommandActions final : public QObject {
  Q_OBJECT

public:
  // selectedNode: the experiment tree's selected node, which "Insert..." inserts before.
  TCommandActions(QMainWindow& window, TDocumentSession& session, QMenu& insertMenu,
                  QMenu& addMenu, std::function<TTreeNode*()> selectedNode);

  QToolBar* ToolBar() const { return Bar; }

private:
  QToolBar* Bar = nullptr;
};

// The device list's "Commands..." submenu: an item per device command, in the order and
// with the captions of DeviceCommandKinds ("Command" + the button's name), enabled once
// its dialog exists; its dialog starts with the device the list has selected.
void FillDeviceCommandsMenu(QMenu& menu, TDocumentSession& session,
                            std::function<TDevice*()> selectedDevice);
