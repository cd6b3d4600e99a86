// The pictures of block boxes: every box shows a 32 x 32 icon, either one the user added
// (an icon file) or one of the two default icons. The icon files the user has added
// stay listed, with their pictures, for as long as the program runs; the main window
// reads the list from the settings at start-up and writes it back at exit, and the block
// dialog shows it as its icon strip.
#pragma once

#include <QImage>
#include <QString>

#include <map>
#include <string>
#include <vector>

// The side of every block icon, in pixels.
constexpr int BlockIconSize = 32;

// The picture of an icon file at 32 x 32: the 32-pixel entry of an ".ico" when it has
// one, otherwise its largest picture scaled (keeping its proportions, centred on a
// transparent square). Any format Qt's image readers know. Null when the file cannot be
// read.
QImage LoadBlockIcon(const QString& fileName);

// The default icon: of the start block, or of any other block.
QImage DefaultBlockIcon(bool startBlock);

// The icon a box shows: that of its icon file when it names a readable file (from the
// list when listed there), else the default one. Boxes paint often: a file outside the
// list is read once and kept until the list changes.
QImage BlockIconOf(const std::string& iconFile, bool startBlock);

class TBlockIcons {
public:
  // Adds an existing, readable icon file at the end, unless it is listed already (exact
  // comparison of the names). Answers its index; -1 when the file does not exist or
  // cannot be read as a picture, and then nothing is added.
  int AddIconFile(const std::string& fileName);
  // -1 when not listed.
  int IndexOf(const std::string& fileName) const;
  // Takes an entry out; an index outside the list changes nothing. Answers whether it
  // removed one.
  bool Remove(int index);
  void Clear();

  int Count() const { return static_cast<int>(Files.size()); }
  // Empty, or a null picture, for an index outside the list.
  std::string GetIconFile(int index) const;
  QImage Icon(int index) const;
  const std::vector<std::string>& IconFiles() const { return Files; }
  // The picture of a file outside the list, as last read; null when it could not be read.
  QImage UnlistedIcon(const std::string& fileName) const;

private:
  std::vector<std::string> Files;  // in the order added
  std::vector<QImage> Icons;       // the picture of each file, 32 x 32
  // Files boxes show without their being listed (an experiment from elsewhere); any
  // change to the list lets them be read again.
  mutable std::map<std::string, QImage> Unlisted;
};

// The program's list, used on the main thread only.
TBlockIcons& BlockIcons();
