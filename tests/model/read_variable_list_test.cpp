// The references a reader keeps waiting for their attributes, in a long random run
// against a plain list: offered by identifier in the order they were read, kept while a
// bind refuses them, never offered without an identifier (not even for -1), forgotten
// after a refused record's mark (down to an empty list); and attributes deferred and
// bound in one pass against the same attributes resolved one by one.
#include "model/read_variable_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/exp_attribute.h"
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

// A file of many commands: thousands of references under hundreds of identifiers, bound
// piece by piece, with refused records cut off.
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
      // Now and then -1, which the references without identifier carry.
      const std::int32_t id = random() % 20 == 0 ? -1 : static_cast<std::int32_t>(random() % 400);
      std::vector<std::size_t> waiting;  // positions in the model
      for (std::size_t i = 0; i < model.size(); ++i)
        if (!model[i].Bound && id >= 0 && model[i].Reference->Pending == id) waiting.push_back(i);
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
  // A mark at 0 forgets everything; what is read next starts anew.
  List.Truncate(0);
  EXPECT_EQ(List.Size(), 0u);
  EXPECT_TRUE(List.Waiting().empty());
  EXPECT_EQ(Offer(5, {"x"}), TNames{});
  Read(5, "fresh");
  EXPECT_EQ(Offer(5, {"fresh"}), TNames{"fresh"});
}


// A reference of a kind (say single or array) that binds to an attribute of its kind,
// once, as the references of an experiment do.
class TKindReference : public TVariable {
public:
  TKindReference(std::int32_t pending, int kind) : Pending(pending), Kind(kind) {}
  void ClearRef() override {}
  bool ReleaseRef() override { return false; }
  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override {
    if (Pending < 0 || Pending != identifier) return false;
    if (reinterpret_cast<std::intptr_t>(object) % 2 != Kind) return false;
    BoundTo = object;
    Pending = -1;
    return true;
  }
  std::int32_t GetPendingId() const override { return Pending; }
  bool NotifyOwner(int) override { return true; }
  void Save(TWriteFile&) override {}
  void Load(TReadFile&) override {}
  TAttributeScript* GetScriptOwner() const override { return nullptr; }

  std::int32_t Pending;
  int Kind;
  TExpAttribute* BoundTo = nullptr;
};

// The attributes stand for themselves only by address: the kind is the address's
// lowest bit (the number's), and nothing is read through them.
TExpAttribute* Attribute(std::size_t number) {
  return reinterpret_cast<TExpAttribute*>(static_cast<std::intptr_t>(16 + number));
}

// Files of references and attributes read in turn, some attributes with the identifier
// of another, of another kind or with a count one off: deferring every attribute after
// a point and binding them at the end binds each reference to the attribute resolving
// one by one binds it to, and fails exactly when one of the deferred ones would.
TEST(ReadVariableListDeferredTest, OnePassBindsAsAttributesOneByOne) {
  std::mt19937 random(7);
  int failures = 0, bindings = 0;
  for (int file = 0; file < 300; ++file) {
    std::vector<std::unique_ptr<TKindReference>> now, later;
    TReadVariableList resolving, deferring;
    const int steps = 20 + static_cast<int>(random() % 200);
    const int deferFrom = static_cast<int>(random() % static_cast<unsigned>(steps));
    const auto ids = static_cast<std::int32_t>(2 + random() % 30);
    bool deferredExact = true;
    std::size_t attributes = 0;
    for (int step = 0; step < steps; ++step) {
      if (step == deferFrom) deferring.BeginDeferring();
      if (random() % 100 < 65) {
        const std::int32_t id = random() % 12 == 0 ? -1 : static_cast<std::int32_t>(random() % ids);
        const int kind = static_cast<int>(random() % 2);
        now.push_back(std::make_unique<TKindReference>(id, kind));
        later.push_back(std::make_unique<TKindReference>(id, kind));
        resolving.Add(now.back().get());
        deferring.Add(later.back().get());
        continue;
      }
      const auto id = static_cast<std::int32_t>(random() % ids);
      const std::size_t number = attributes++;
      TExpAttribute* attribute = Attribute(number);
      int takes = 0;  // the references it would take
      for (const auto& reference : now)
        takes += reference->Pending == id && reference->Kind == static_cast<int>(number % 2);
      // Mostly the count saved is the count taken; now and then a damaged one.
      const std::int32_t count = takes + (random() % 8 == 0 ? 1 : 0) - (random() % 9 == 0 ? 1 : 0);
      if (count <= 0) continue;  // no identifier is read then: nothing to bind
      const int bound = resolving.Resolve(id, [&](TVariable* reference) {
        return reference->ResolveLoadedLink(attribute, id);
      });
      ASSERT_EQ(bound, takes);
      if (!deferring.IsDeferring()) {
        const int also = deferring.Resolve(id, [&](TVariable* reference) {
          return reference->ResolveLoadedLink(attribute, id);
        });
        ASSERT_EQ(also, bound);
      } else {
        deferring.Defer(attribute, id, count);
        deferredExact = deferredExact && bound == count;
      }
    }
    const bool exact = deferring.LinkDeferred(
        [](TVariable* reference, TExpAttribute* attribute, std::int32_t identifier) {
          return reference->ResolveLoadedLink(attribute, identifier);
        },
        [](TVariable*) {});
    EXPECT_EQ(exact, deferredExact) << file;
    failures += !exact;
    EXPECT_FALSE(deferring.IsDeferring());
    for (std::size_t i = 0; i < now.size(); ++i) {
      ASSERT_EQ(later[i]->BoundTo, now[i]->BoundTo) << file << " reference " << i;
      bindings += now[i]->BoundTo != nullptr;
    }
    EXPECT_EQ(deferring.Waiting().size(), resolving.Waiting().size()) << file;
  }
  EXPECT_GT(failures, 20);  // damaged counts were met
  EXPECT_GT(bindings, 5000);
}

}  // namespace
