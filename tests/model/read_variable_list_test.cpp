// The references a reader keeps waiting for their attributes: offered by identifier in
// the order they were read, kept while a bind refuses them, forgotten after a refused
// record's mark; then a long random run against a plain list.
#include "model/read_variable_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/variable.h"

namespace {

// A reference read with an identifier; the list asks nothing else of it.
class TReference : public TVariable {
public:
  TReference(std::int32_t pending, std::string name) : Pending(pending), Name(std::move(name)) {}
  void ClearRef() override {}
  bool ReleaseRef() override { return false; }
  bool ResolveLoadedLink(TExpAttribute*, std::int32_t) override { return false; }
  std::int32_t GetPendingId() const override { return Pending; }
  bool NotifyOwner(int) override { return true; }
  void Save(TWriteFile&) override {}
  void Load(TReadFile&) override {}
  TAttributeScript* GetScriptOwner() const override { return nullptr; }

  std::int32_t Pending;
  std::string Name;
};

using TNames = std::vector<std::string>;

TNames Names(const std::vector<TVariable*>& references) {
  TNames names;
  for (TVariable* reference : references)
    names.push_back(static_cast<TReference*>(reference)->Name);
  return names;
}

class ReadVariableListTest : public ::testing::Test {
protected:
  TReference* Read(std::int32_t id, const std::string& name) {
    References.push_back(std::make_unique<TReference>(id, name));
    List.Add(References.back().get());
    return References.back().get();
  }
  // Offers the identifier's references; binds those named in accepted. Answers the
  // names offered, in order, and checks the count the list gives back.
  TNames Offer(std::int32_t id, const TNames& accepted) {
    TNames offered;
    int bound = 0;
    const int answered = List.Resolve(id, [&](TVariable* reference) {
      const std::string& name = static_cast<TReference*>(reference)->Name;
      offered.push_back(name);
      const bool take = std::find(accepted.begin(), accepted.end(), name) != accepted.end();
      bound += take;
      return take;
    });
    EXPECT_EQ(answered, bound) << id;
    return offered;
  }

  std::vector<std::unique_ptr<TReference>> References;
  TReadVariableList List;
};

TEST_F(ReadVariableListTest, OfferedByIdentifierInReadOrderAndKeptWhenRefused) {
  Read(7, "a");
  Read(8, "b");
  Read(7, "c");
  Read(-1, "none");
  Read(7, "d");
  Read(9, "e");
  EXPECT_EQ(List.Size(), 6u);
  EXPECT_EQ(Names(List.Waiting()), (TNames{"a", "b", "c", "none", "d", "e"}));

  // Each reference of identifier 7, in read order; the one bound leaves, the refused
  // ones wait on in their places.
  EXPECT_EQ(Offer(7, {"c"}), (TNames{"a", "c", "d"}));
  EXPECT_EQ(Names(List.Waiting()), (TNames{"a", "b", "none", "d", "e"}));
  EXPECT_EQ(Offer(7, {}), (TNames{"a", "d"}));
  EXPECT_EQ(Offer(7, {"d"}), (TNames{"a", "d"}));
  EXPECT_EQ(Offer(7, {"a"}), (TNames{"a"}));
  EXPECT_EQ(Offer(7, {"a"}), TNames{});  // none left
  // Bound ones still count as read.
  EXPECT_EQ(List.Size(), 6u);
  EXPECT_EQ(Names(List.Waiting()), (TNames{"b", "none", "e"}));

  // A reference without identifier is never offered, not even for -1.
  EXPECT_EQ(Offer(-1, {"none"}), TNames{});
  EXPECT_EQ(Offer(9, {"e"}), (TNames{"e"}));
  EXPECT_EQ(Offer(8, {"b"}), (TNames{"b"}));
  EXPECT_EQ(Offer(123, {}), TNames{});  // an identifier nothing was read with
  EXPECT_EQ(Names(List.Waiting()), (TNames{"none"}));

  // Read again after its references were all bound, an identifier starts anew.
  Read(7, "f");
  EXPECT_EQ(Offer(7, {}), (TNames{"f"}));
  EXPECT_EQ(List.Size(), 7u);
}

TEST_F(ReadVariableListTest, TruncateForgetsWhatARefusedRecordAdded) {
  Read(5, "kept1");
  Read(6, "kept2");
  Read(5, "kept3");
  const std::size_t mark = List.Size();
  Read(5, "gone1");
  Read(7, "gone2");
  Read(-1, "gone3");
  Read(5, "gone4");
  // Some bound meanwhile, before and after the mark.
  EXPECT_EQ(Offer(5, {"kept3", "gone1"}), (TNames{"kept1", "kept3", "gone1", "gone4"}));
  List.Truncate(mark);
  EXPECT_EQ(List.Size(), mark);
  EXPECT_EQ(Names(List.Waiting()), (TNames{"kept1", "kept2"}));
  // Only the references from before the mark are offered; those after it are gone.
  EXPECT_EQ(Offer(7, {"gone2"}), TNames{});
  EXPECT_EQ(Offer(5, {}), (TNames{"kept1"}));
  // A reference read after the truncation joins behind the ones kept.
  Read(5, "later");
  EXPECT_EQ(Offer(5, {}), (TNames{"kept1", "later"}));
  Read(7, "again");
  EXPECT_EQ(Offer(7, {}), (TNames{"again"}));
  EXPECT_EQ(Names(List.Waiting()), (TNames{"kept1", "kept2", "later", "again"}));

  // A mark at the end forgets nothing; a mark at 0 everything.
  List.Truncate(List.Size());
  EXPECT_EQ(List.Size(), 5u);
  List.Truncate(0);
  EXPECT_EQ(List.Size(), 0u);
  EXPECT_TRUE(List.Waiting().empty());
  EXPECT_EQ(Offer(5, {}), TNames{});
  Read(5, "fresh");
  EXPECT_EQ(Offer(5, {"fresh"}), (TNames{"fresh"}));
  EXPECT_TRUE(List.Waiting().empty());
}

// A file of many commands: thousands of references under hundreds of identifiers, bound
// piece by piece, with refused records cut off, against a plain list of what was read.
TEST_F(ReadVariableListTest, ManyIdentifiersAgainstAPlainList) {
  struct TRead {
    TReference* Reference;
    bool Bound;
  };
  std::vector<TRead> model;
  std::mt19937 random(99);
  int offered = 0;
  for (int step = 0; step < 6000; ++step) {
    const unsigned roll = random() % 100;
    if (roll < 60) {
      const std::int32_t id = random() % 10 == 0 ? -1 : static_cast<std::int32_t>(random() % 400);
      model.push_back({Read(id, std::to_string(References.size())), false});
    } else if (roll < 97) {
      // An attribute binds some of its references: every second one offered, say.
      const std::int32_t id = static_cast<std::int32_t>(random() % 400);
      std::vector<std::size_t> waiting;  // positions in the model
      for (std::size_t i = 0; i < model.size(); ++i)
        if (!model[i].Bound && model[i].Reference->Pending == id) waiting.push_back(i);
      TNames expected, accepted;
      for (std::size_t i = 0; i < waiting.size(); ++i) {
        expected.push_back(model[waiting[i]].Reference->Name);
        if ((i + step) % 2 == 0) {
          accepted.push_back(expected.back());
          model[waiting[i]].Bound = true;
        }
      }
      ASSERT_EQ(Offer(id, accepted), expected) << step;
      offered += static_cast<int>(expected.size());
    } else {
      // A refused record: what it read goes, bound or not.
      const std::size_t keep = model.size() - std::min<std::size_t>(model.size(), random() % 6);
      List.Truncate(keep);
      model.resize(keep);
    }
    ASSERT_EQ(List.Size(), model.size()) << step;
    if (step % 25 == 0) {
      TNames waiting;
      for (const TRead& read : model)
        if (!read.Bound) waiting.push_back(read.Reference->Name);
      ASSERT_EQ(Names(List.Waiting()), waiting) << step;
    }
  }
  EXPECT_GT(offered, 1000);  // the run did offer references, not only miss
}

}  // namespace
