// Both text stores through the store interface: order of positions,
// insertion before a reference, listener notification, batches that fold
// many changes into one, and who deletes a removed element.
#include <gtest/gtest.h>

#include <memory>

#include "gui/text/store_array.h"
#include "gui/text/store_simple.h"
#include "text_test_util.h"

namespace {

template <typename Store>
class StoreTest : public ::testing::Test {
 protected:
  // The listener outlives the store, which tells it goodbye.
  RecordingListener listener;
  int deaths = 0;
  Store store;
  TextReference add() { return store.insertText(new CountedElement(&deaths), nullptr); }
  // The store's positions as "e" (element) and "|" (line end).
  std::string shape() {
    std::string s;
    for (TextReference r = store.getFirstElement(); r; r = store.getNextElement(r))
      s += store.isLineEnd(r) ? "|" : "e";
    return s;
  }
  std::string backwards() {
    std::string s;
    for (TextReference r = store.getLastElement(); r; r = store.getPrevElement(r))
      s += store.isLineEnd(r) ? "|" : "e";
    return s;
  }
};

using StoreTypes = ::testing::Types<SimpleTextStore, ArrayStore>;
TYPED_TEST_SUITE(StoreTest, StoreTypes);

TYPED_TEST(StoreTest, EmptyStoreHasNoPositions) {
  EXPECT_EQ(this->store.getFirstElement(), nullptr);
  EXPECT_EQ(this->store.getLastElement(), nullptr);
  EXPECT_EQ(this->store.getElement(nullptr), nullptr);
  EXPECT_FALSE(this->store.isLineEnd(nullptr));
}

TYPED_TEST(StoreTest, AppendsAndInsertsBefore) {
  TextReference a = this->add();
  this->store.insertBreak(nullptr);
  TextReference c = this->add();
  this->store.insertBreak(c);  // before c
  EXPECT_EQ(this->shape(), "e||e");
  EXPECT_EQ(this->backwards(), "e||e");
  this->store.insertText(new CountedElement(&this->deaths), this->store.getFirstElement());
  EXPECT_EQ(this->shape(), "ee||e");
  (void)a;
}

TYPED_TEST(StoreTest, LineEndsHaveNoElement) {
  TextReference br = this->store.insertBreak(nullptr);
  EXPECT_TRUE(this->store.isLineEnd(br));
  EXPECT_EQ(this->store.getElement(br), nullptr);
  TextReference e = this->add();
  EXPECT_FALSE(this->store.isLineEnd(e));
  EXPECT_NE(this->store.getElement(e), nullptr);
}

TYPED_TEST(StoreTest, EachChangeNotifiesEveryListenerOnce) {
  RecordingListener second;
  this->store.addTextChangeListener(&this->listener);
  this->store.addTextChangeListener(&this->listener);  // a set: still once
  this->store.addTextChangeListener(&second);
  TextReference a = this->add();
  this->store.changeText(a);
  EXPECT_EQ(this->listener.heard, (std::vector<std::string>{"added", "changed"}));
  EXPECT_EQ(second.heard.size(), 2u);
  this->store.removeTextChangeListener(&second);
  this->add();
  EXPECT_EQ(second.heard.size(), 2u);
  EXPECT_EQ(this->listener.heard.size(), 3u);
}

TYPED_TEST(StoreTest, BatchFoldsChangesIntoOneNotice) {
  this->store.addTextChangeListener(&this->listener);
  this->store.suppressNotification();
  this->store.suppressNotification();
  for (int i = 0; i < 5; i++) this->add();
  this->store.allowNotification();
  EXPECT_TRUE(this->listener.heard.empty()) << "still inside the outer batch";
  this->store.allowNotification();
  EXPECT_EQ(this->listener.heard, (std::vector<std::string>{"change"}));
  this->add();
  EXPECT_EQ(this->listener.heard.back(), "added") << "live again after the batch";
}

TYPED_TEST(StoreTest, BatchWithoutChangesSaysNothing) {
  this->store.addTextChangeListener(&this->listener);
  this->store.suppressNotification();
  this->store.allowNotification();
  EXPECT_TRUE(this->listener.heard.empty());
}

TYPED_TEST(StoreTest, DestroyingTheStoreDisconnectsListeners) {
  auto store = std::make_unique<TypeParam>();
  store->addTextChangeListener(&this->listener);
  store.reset();
  EXPECT_EQ(this->listener.heard, (std::vector<std::string>{"disconnect"}));
}

TEST(SimpleTextStoreTest, RemovalLeavesTheElementToTheCaller) {
  RecordingListener l;
  SimpleTextStore store;
  int deaths = 0;
  auto* el = new CountedElement(&deaths);
  TextReference a = store.insertText(new CountedElement(&deaths), nullptr);
  TextReference b = store.insertText(el, nullptr);
  store.addTextChangeListener(&l);
  store.removeText(b);
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(l.previous, (std::vector<TextReference>{a}));
  EXPECT_EQ(store.getLastElement(), a);
  delete el;
  EXPECT_EQ(deaths, 1);
}

TEST(SimpleTextStoreTest, ClearDeletesElementsAndReportsEachRemoval) {
  RecordingListener l;
  SimpleTextStore store;
  int deaths = 0;
  store.insertText(new CountedElement(&deaths), nullptr);
  store.insertBreak(nullptr);
  store.insertText(new CountedElement(&deaths), nullptr);
  store.addTextChangeListener(&l);
  store.clearText();
  EXPECT_EQ(deaths, 2);
  EXPECT_EQ(l.heard, (std::vector<std::string>(3, "removed")));
  EXPECT_EQ(store.getFirstElement(), nullptr);
}

TEST(ArrayStoreTest, ReferencesAreIndices) {
  ArrayStore store;
  int deaths = 0;
  EXPECT_EQ(ArrayStore::indexFromRef(store.getFirstElement()), 0);
  for (int i = 0; i < 3; i++) store.insertText(new CountedElement(&deaths), nullptr);
  EXPECT_EQ(ArrayStore::indexFromRef(store.getFirstElement()), 1);
  EXPECT_EQ(ArrayStore::indexFromRef(store.getLastElement()), 3);
  EXPECT_EQ(store.getNextElement(store.getLastElement()), nullptr);
  EXPECT_EQ(ArrayStore::indexFromRef(store.getPrevElement(ArrayStore::refFromIndex(3))), 2);
  TextReference mid = store.insertBreak(ArrayStore::refFromIndex(2));
  EXPECT_EQ(ArrayStore::indexFromRef(mid), 2);
  EXPECT_TRUE(store.isLineEnd(ArrayStore::refFromIndex(2)));
  EXPECT_EQ(store.getElement(ArrayStore::refFromIndex(99)), nullptr);
}

TEST(ArrayStoreTest, GrowsToTwiceTheNeededSize) {
  ArrayStore store;
  int deaths = 0;
  EXPECT_EQ(store.getCapacity(), 16);
  for (int i = 0; i < 16; i++) store.insertBreak(nullptr);
  EXPECT_EQ(store.getCapacity(), 16);
  store.insertText(new CountedElement(&deaths), nullptr);
  EXPECT_EQ(store.getCapacity(), 34);
  EXPECT_EQ(store.getCount(), 17);
}

TEST(ArrayStoreTest, RemovalDeletesTheElementAndShifts) {
  RecordingListener l;
  ArrayStore store;
  int deaths = 0;
  for (int i = 0; i < 3; i++) store.insertText(new CountedElement(&deaths), nullptr);
  store.addTextChangeListener(&l);
  store.removeText(ArrayStore::refFromIndex(2));
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(store.getCount(), 2);
  ASSERT_EQ(l.previous.size(), 1u);
  EXPECT_EQ(ArrayStore::indexFromRef(l.previous[0]), 1);
  store.removeText(ArrayStore::refFromIndex(7));  // no such position
  EXPECT_EQ(store.getCount(), 2);
}

TEST(ArrayStoreTest, ClearIsOneChangeAndResetsCapacity) {
  RecordingListener l;
  ArrayStore store;
  int deaths = 0;
  for (int i = 0; i < 40; i++) store.insertText(new CountedElement(&deaths), nullptr);
  store.addTextChangeListener(&l);
  store.clearText();
  EXPECT_EQ(deaths, 40);
  EXPECT_EQ(store.getCount(), 0);
  EXPECT_EQ(store.getCapacity(), 16);
  EXPECT_EQ(l.heard, (std::vector<std::string>{"change"}));
}

}  // namespace
