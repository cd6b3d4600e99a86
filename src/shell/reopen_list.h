// The recent experiment files of "&Reopen Experiment": captions "&" + number + " " +
// path, the newest first at number 0. The main window's menu mirrors the list; the
// settings keep the captions between sessions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TReopenList {
public:
  // Puts "&0 " + path at the top and renumbers every item from 0, unless an item holds
  // this very path already: that one keeps its place. Answers whether an item was added.
  bool Add(const std::string& path);
  // Takes the item out; the others keep their captions.
  void Remove(std::size_t index);
  void Clear() { Captions.clear(); }

  std::size_t Count() const { return Captions.size(); }
  bool IsEmpty() const { return Captions.empty(); }
  const std::string& Caption(std::size_t index) const { return Captions.at(index); }
  std::string Path(std::size_t index) const { return PathOfCaption(Captions.at(index)); }
  // The index of the item holding the path; Count() when none does.
  std::size_t Find(const std::string& path) const;

  // The captions as stored by the settings, newest first.
  const std::vector<std::string>& GetCaptions() const { return Captions; }
  // Start-up: the stored captions whose file still exists, in their order, as stored
  // (the numbers are not renewed).
  void Load(const std::vector<std::string>& captions);

  // The path of a caption: what follows its first blank; empty without a blank.
  static std::string PathOfCaption(const std::string& caption);

private:
  std::vector<std::string> Captions;
};
