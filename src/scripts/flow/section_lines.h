// What the lines of sections share (a Label and its Repeat or Repeat-Until; an If-Then,
// its Else and its End If): moving nodes into and out of a section through their
// commands, moving the lines that open and close a section, and preparing, checking and
// dropping the commands of a section.
#pragma once

#include <initializer_list>

class TBlock;
class TScript;
class TTreeNode;

namespace SectionLines {

// The node becomes the last child of the top command's node.
void MoveUnder(TTreeNode* node, TScript* topscript);
// The node moves in front of the top command's node, leaving the section of the given
// line (none: the top command's own section).
void MoveInFront(TTreeNode* node, TScript* topscript, TScript* section = nullptr);
// A command that changed its place among the lines refreshes its indentation flag.
void Reindent(TTreeNode* node);
// The siblings after the node up to the last one before upTo (none: to the end) become
// the last children of the top command's node.
void MoveSiblingsUnder(TTreeNode* after, TTreeNode* upTo, TScript* topscript);
// The section's opening line moves up onto the node: the nodes before the line, up to
// this one, become the first children of the line's node. They come from the line's
// siblings or, when the node is no sibling, from the end of the node's parent.
void TakeBackTo(TScript* opener, TTreeNode* movenode);
// The section's closing line moves: onto a later sibling the section (under the opening
// line) grows up to it; onto a command of the section it ends before that command.
void MoveEnd(TScript* closer, TScript* opener, TTreeNode* movenode);
// Run preparation of a section's opening line: with children the first one runs next
// and each prepares itself (the first refusal is the answer); without, the default.
bool PrepareSection(TScript* opener);
// The commands of the section resolve what they read.
void CheckSection(TScript* opener);
// May a section's line be dropped on the node: it must be in the block, not close a
// section and lie between the two limits (absolute positions, exclusive; a limit of
// none does not limit), either as a child of one of the parents or, when sibling is
// given, as a sibling of it.
bool MayDrop(TScript* line, TBlock* block, TTreeNode* node, TTreeNode* after, TTreeNode* before,
             TTreeNode* sibling, std::initializer_list<TTreeNode*> parents);

}  // namespace SectionLines
