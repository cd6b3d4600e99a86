// Reading the help pages as documents: the links a page holds (the contents and the
// index are built from theirs) and the anchors it defines.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <vector>

class QTextDocument;

struct THelpLink {
  QString Text;  // the link's text
  QUrl Target;   // where it leads, resolved against the page
  int Level;     // the depth of the list that holds it: 0 outside a list, 1 a top list
};

// The page at a help URL (the fragment ignored) as a document; none when there is no
// such page.
std::unique_ptr<QTextDocument> LoadHelpPage(const QUrl& url);
// The links of a page in document order (none for a missing page).
std::vector<THelpLink> HelpPageLinks(const QUrl& page);
// The anchor names a page defines.
QStringList HelpPageAnchors(const QUrl& page);
// The file names of every page of the help (under ":/help/"), sorted.
QStringList HelpPageNames();
