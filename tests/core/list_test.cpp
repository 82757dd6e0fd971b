#include "toolkit/core/list.h"
#include "toolkit/core/object.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

struct Item : Object {
    explicit Item(int v) : value(v) {}
    int value;
};

std::vector<int> Values(const TList<Item>& list) {
    std::vector<int> out;
    for (const auto& item : list) out.push_back(item->value);
    return out;
}

TEST(TList, AddsAtBothEndsAndRemovesTheFirstMatchingLink) {
    auto list = CreateList<Item>();
    auto a = std::make_shared<Item>(1), b = std::make_shared<Item>(2), c = std::make_shared<Item>(3);
    ListAddLast(list, a);
    ListAddLast(list, b);
    ListAddFirst(list, c);
    ListAddLast(list, a);
    EXPECT_EQ(Values(*list), (std::vector<int>{3, 1, 2, 1}));
    EXPECT_EQ(list->Count(), 4u);

    EXPECT_TRUE(ListRemove(list, a));  // only the first link holding a
    EXPECT_EQ(Values(*list), (std::vector<int>{3, 2, 1}));
    EXPECT_FALSE(ListRemove(list, std::make_shared<Item>(9)));
    EXPECT_EQ(list->First(), c);
    EXPECT_EQ(list->Last(), a);

    ListRemove(list, c);
    ListRemove(list, a);
    ListRemove(list, b);
    EXPECT_TRUE(list->IsEmpty());
    EXPECT_EQ(list->First(), nullptr);
    EXPECT_EQ(list->Last(), nullptr);
    ListAddLast(list, b);  // usable again after emptying
    EXPECT_EQ(Values(*list), (std::vector<int>{2}));
}

TEST(TList, ModuleFunctionsRaiseTheNullObjectErrorForANullList) {
    TListPtr<Item> none;
    auto a = std::make_shared<Item>(1);
    EXPECT_THROW(ListAddLast(none, a), TNullObjectException);
    EXPECT_THROW(ListAddFirst(none, a), TNullObjectException);
    EXPECT_THROW(ListRemove(none, a), TNullObjectException);
}

TEST(TList, BodyMayRemoveTheCurrentOrAnyOtherElementWhileIterating) {
    auto list = CreateList<Item>();
    std::vector<std::shared_ptr<Item>> items;
    for (int i = 0; i < 6; ++i) {
        items.push_back(std::make_shared<Item>(i));
        list->AddLast(items.back());
    }

    // Remove every even element as it is visited: all six are still visited.
    std::vector<int> visited;
    for (const auto& item : *list) {
        auto keep = item;
        visited.push_back(keep->value);
        if (keep->value % 2 == 0) list->Remove(keep);
    }
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Values(*list), (std::vector<int>{1, 3, 5}));

    // Removing the current element and the one after it skips the latter.
    visited.clear();
    for (const auto& item : *list) {
        auto keep = item;
        visited.push_back(keep->value);
        if (keep->value == 1) {
            list->Remove(keep);
            list->Remove(items[3]);
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 5}));
    EXPECT_EQ(Values(*list), (std::vector<int>{5}));

    // Removing the last element while visiting it ends the walk cleanly; the
    // next link was fetched before the body, so what the body appends after
    // the last element is not visited.
    visited.clear();
    for (const auto& item : *list) {
        auto keep = item;
        visited.push_back(keep->value);
        if (keep->value == 5) {
            list->Remove(keep);
            list->AddLast(items[0]);
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{5}));
    EXPECT_EQ(Values(*list), (std::vector<int>{0}));
}

TEST(TList, ClearReleasesEveryReference) {
    auto item = std::make_shared<Item>(7);
    {
        auto list = CreateList<Item>();
        for (int i = 0; i < 1000; ++i) list->AddLast(item);
        EXPECT_EQ(item.use_count(), 1001);
        list->Clear();
        EXPECT_EQ(item.use_count(), 1);
        for (int i = 0; i < 10; ++i) list->AddFirst(item);
    }
    EXPECT_EQ(item.use_count(), 1);
}

}  // namespace
}  // namespace kestrel
