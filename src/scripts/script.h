// Base of every command of an experiment: one line of a block in the experiment tree.
#pragma once

#include <string>

#include "model/experiment_object.h"

class TBlock;

class TScript : public TExperimentObject {
public:
  // Command type numbers: they select the class in the block's factory and stand before
  // each command record in files.
  enum TScriptType {
    SEND = 0,
    SENDGPIB = 1,
    SENDRS232 = 2,
    SERIALPOLL = 3,
    READ = 4,
    PLOT = 5,
    CALCULATE = 6,
    WAIT = 7,
    LABEL = 8,
    REPEAT = 9,
    DECISION = 10,
    REPUNTIL = 11,
    INCREMENT = 12,
    IFTHEN = 13,
    ELSE = 14,
    ENDIF = 15,
    BLANK = 16,
    COMMENT = 17,
    READFILE = 18,
    SENDBINARY = 19,
    CLEARPLOT = 20,
    CONCATENATE = 21,
    CLEARDEVICEBUFFER = 22,
    OUTPUTTOFILE = 23,
    CREATENEWFILE = 24,
  };

  TScript(TBlock* block, TTreeNode* node);

  TExperimentType GetExperimentType() const override { return aiSCRIPT; }
  // The node text of the command.
  virtual std::string GetText() = 0;
  virtual int GetScriptType() const = 0;

  // Shows GetText on the command's node (and debug node) and expands their parents.
  void UpdateNodeText();

  TBlock* Pblock;  // the block that owns the command
};
