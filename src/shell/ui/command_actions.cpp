#include "shell/ui/command_actions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include <string>

#include "model/assertion.h"
#include "shell/command_adding.h"
#include "shell/device_list_editing.h"
#include "shell/document_session.h"

TCommandActions::TCommandActions(QMainWindow& window, TDocumentSession& session,
                                 QMenu& insertMenu, QMenu& addMenu,
                                 std::function<TTreeNode*()> selectedNode)
    : QObject(&window) {
  Bar = new QToolBar("Command Speed Bar", &window);
  Bar->setObjectName("CmdToolBar");
  window.addToolBar(Qt::TopToolBarArea, Bar);
  for (const TAddCommand& row : AddCommands()) {
    const bool ready = HasAddDialog(row);
    QAction* button = Bar->addAction(QString::fromUtf8(row.Caption));
    button->setObjectName(row.Button);
    button->setToolTip(QString::fromUtf8(row.Hint));
    button->setStatusTip(QString::fromUtf8(row.Hint));
    button->setEnabled(ready);
    connect(button, &QAction::triggered, this, [&session, &row] {
      AddCommandClick(session.GetExperiment(), row, TAddSender::ToolButton);
    });

    QAction* insert = insertMenu.addAction(QString::fromUtf8(row.Caption));
    insert->setObjectName(QString("Insert") + row.Button);
    insert->setEnabled(ready);
    connect(insert, &QAction::triggered, this, [&session, &row, selectedNode] {
      AddCommandClick(session.GetExperiment(), row, TAddSender::InsertItem, selectedNode());
    });

    QAction* add = addMenu.addAction(QString::fromUtf8(row.Caption));
    add->setObjectName(QString("Add") + row.Button);
    add->setEnabled(ready);
    connect(add, &QAction::triggered, this, [&session, &row] {
      AddCommandClick(session.GetExperiment(), row, TAddSender::MenuItem);
    });
  }
}

void FillDeviceCommandsMenu(QMenu& menu, TDocumentSession& session,
                            std::function<TDevice*()> selectedDevice) {
  // In the device list's order and wording; each item is the add handler of its command.
  for (const TDeviceCommandKind& kind : DeviceCommandKinds) {
    const TAddCommand* found = nullptr;
    for (const TAddCommand& row : AddCommands())
      if (row.Device && std::string(row.Name) == kind.Name) found = &row;
    QORV_ASSERT(found!=0);
    const TAddCommand& row = *found;
    QAction* item = menu.addAction(QString::fromUtf8(kind.Caption));
    item->setObjectName(QString("Command") + row.Button);
    item->setEnabled(HasAddDialog(row));
    QObject::connect(item, &QAction::triggered, &menu, [&session, &row, selectedDevice] {
      if (TDevice* device = selectedDevice())
        AddCommandClick(session.GetExperiment(), row, TAddSender::DeviceItem, nullptr, device);
    });
  }
}
