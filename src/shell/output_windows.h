// The main window's ways of showing the experiment's output windows: the attribute
// tree's "Show" of an output (and its double click), and "&Bring Outputs To Front",
// which a run's start and end use too.
#pragma once

class TDeadOutputList;
class TExperiment;
class TOutput;
class TTreeNode;

// The output a node of the attribute tree shows; none for lists, other attributes and
// empty space.
TOutput* OutputOfNode(const TTreeNode* node);

// "Show" of an output, checked while its window is visible: a checked item hides the
// window, an unchecked one shows it (the window is made when missing).
void ShowOutputClick(TOutput& output, bool checked);

// Every window of the experiment's outputs shows and comes to the front, in the list's
// order, then the visible detached windows (none without a list); the focus stays where
// it is. No window is made: an output that no command has used has none.
void BringOutputsToFront(TExperiment& experiment, TDeadOutputList* detached);
