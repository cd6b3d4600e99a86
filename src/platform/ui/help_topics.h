// The help pages and their topics. Help pages are HTML files of help.qrc (under
// ":/help/"); each help context number that a window or dialog gives for its Help button,
// its help items and F1 names a page and an anchor in it. A window or dialog added later
// adds its row to the table (help_topics.cpp) and its page to help.qrc.
#pragma once

#include <QString>
#include <QUrl>

#include <vector>

struct THelpTopic {
  int Context;         // the help context number
  const char* Page;    // the page's file name under ":/help/"
  const char* Anchor;  // the anchor in the page where the topic starts
  const char* Title;   // the topic's title, as its heading reads
};

// Every topic, in context order.
const std::vector<THelpTopic>& HelpTopics();
// The topic of a context number; none for a number without a page.
const THelpTopic* FindHelpTopic(int context);

// "qrc:/help/<page>#<anchor>".
QUrl HelpTopicUrl(const THelpTopic& topic);
// The contents and the index pages.
QUrl HelpContentsUrl();
QUrl HelpIndexUrl();
// The URL of a page of the help (a file name under ":/help/").
QUrl HelpPageUrl(const QString& page);
// The file path (":/help/<page>") of a help URL; empty for a URL outside the help.
QString HelpResourcePath(const QUrl& url);

// The resource file is compiled into a static library, whose linker drops it unless
// something refers to it: everything that reads the pages calls this first.
void LoadHelpResource();
