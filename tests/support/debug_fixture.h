// An experiment whose start block holds traced stand-ins and Waits, for the debug
// window's tests at either level.
#pragma once

#include <cstdint>
#include <string>

#include "scripts/flow/wait_script.h"
#include "shell/debug_log.h"
#include "support/experiment_fixture.h"

class TDebugFixture : public TExperimentFixture {
protected:
  TDebugFixture() {
    Start = AddBlock("Start Block");
    Cur = Start;
  }
  ~TDebugFixture() override { TWaitScript::SetSleeper({}); }

  TTracedStub* Cmd(const std::string& text, TBlock* block = nullptr) {
    TBlock* into = block ? block : Start;
    return new TTracedStub(into, NewNode(into, nullptr, text), text, Ran);
  }
  TWaitScript* Wait(std::int32_t time) {
    auto* wait = new TWaitScript(Cur, NewNode(Cur));
    wait->SetTime(time);
    return wait;
  }
  static TTexts Texts(const TDebugLog& log) {
    TTexts texts;
    for (const TDebugFormat& line : log.Lines()) texts.push_back(line.Text);
    return texts;
  }

  TBlock* Start = nullptr;
};
