#include "platform/ui/help_pages.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include "platform/ui/help_topics.h"

namespace {

QUrl WithoutFragment(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment); }

// Calls visit for every text fragment of the document with the block it lies in.
template <class TVisit>
void ForEachFragment(const QTextDocument& document, TVisit visit) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().isValid()) visit(block, it.fragment());
}

}  // namespace

std::unique_ptr<QTextDocument> LoadHelpPage(const QUrl& url) {
  LoadHelpResource();
  QFile file(HelpResourcePath(WithoutFragment(url)));
  if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) return nullptr;
  auto document = std::make_unique<QTextDocument>();
  document->setBaseUrl(WithoutFragment(url));
  document->setHtml(QString::fromUtf8(file.readAll()));
  return document;
}

std::vector<THelpLink> HelpPageLinks(const QUrl& page) {
  std::vector<THelpLink> links;
  std::unique_ptr<QTextDocument> document = LoadHelpPage(page);
  if (!document) return links;
  const QUrl base = WithoutFragment(page);
  // A link whose text changes format (a word in bold) spans several fragments: they are
  // one link while they follow each other with the same target.
  QTextBlock lastBlock;
  ForEachFragment(*document, [&](const QTextBlock& block, const QTextFragment& fragment) {
    const QString href = fragment.charFormat().anchorHref();
    if (href.isEmpty()) {
      lastBlock = QTextBlock();
      return;
    }
    const QUrl target = base.resolved(QUrl(href));
    if (!links.empty() && lastBlock == block && links.back().Target == target) {
      links.back().Text += fragment.text();
      return;
    }
    const QTextList* list = block.textList();
    links.push_back({fragment.text(), target, list ? list->format().indent() : 0});
    lastBlock = block;
  });
  for (THelpLink& link : links) link.Text = link.Text.simplified();
  return links;
}

QStringList HelpPageAnchors(const QUrl& page) {
  QStringList anchors;
  std::unique_ptr<QTextDocument> document = LoadHelpPage(page);
  if (!document) return anchors;
  ForEachFragment(*document, [&](const QTextBlock&, const QTextFragment& fragment) {
    for (const QString& name : fragment.charFormat().anchorNames())
      if (!anchors.contains(name)) anchors << name;
  });
  return anchors;
}

QStringList HelpPageNames() {
  LoadHelpResource();
  return QDir(QStringLiteral(":/help"))
      .entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}
