#pragma once
// Items held in the order of their kinds: inputs, then other measured values, then outputs.
// Each kind has a store of its own, so adding an item at the end of its kind's group costs
// the same however many items of later kinds follow it (a header of thousands of mixed
// columns is read in linear time).

#include "core/bus/BusVocabulary.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

template <typename T> class TKindGroups {
public:
    int Size() const { return Count(KindInput) + Count(KindOther) + Count(KindOutput); }
    int Count(ValueKind kind) const { return static_cast<int>(groups[Slot(kind)].size()); }
    // Index of the first item of that kind (where its group would start when empty).
    int Start(ValueKind kind) const
    {
        int start = 0;
        for (std::size_t g = 0; g < Slot(kind); ++g)
            start += static_cast<int>(groups[g].size());
        return start;
    }
    // The kind at an index in 0 ≤ index < Size().
    ValueKind KindAt(int index) const { return static_cast<ValueKind>(Locate(index).first); }

    T& operator[](int index)
    {
        const auto [group, position] = Locate(index);
        return groups[group][position];
    }
    const T& operator[](int index) const
    {
        const auto [group, position] = Locate(index);
        return groups[group][position];
    }

    // Inserts at index, which must lie within the kind's group or at its end; false (and
    // nothing inserted) otherwise.
    bool Insert(int index, ValueKind kind, T item)
    {
        if (kind != KindInput && kind != KindOther && kind != KindOutput)
            return false;
        const int position = index - Start(kind);
        auto& group = groups[Slot(kind)];
        if (position < 0 || position > static_cast<int>(group.size()))
            return false;
        group.insert(group.begin() + position, std::move(item));
        return true;
    }
    void Erase(int index)
    {
        const auto [group, position] = Locate(index);
        groups[group].erase(groups[group].begin() + static_cast<std::ptrdiff_t>(position));
    }

    template <typename Visit> void ForEach(Visit visit)
    {
        for (auto& group : groups) {
            for (T& item : group)
                visit(item);
        }
    }

private:
    static std::size_t Slot(ValueKind kind) { return static_cast<std::size_t>(kind); }
    std::pair<std::size_t, std::size_t> Locate(int index) const
    {
        auto position = static_cast<std::size_t>(index);
        std::size_t group = 0;
        while (group + 1 < groups.size() && position >= groups[group].size()) {
            position -= groups[group].size();
            ++group;
        }
        return {group, position};
    }

    std::array<std::vector<T>, 3> groups;
};
