#pragma once
// The working list of the cache purge: the addresses it found, after those of earlier purges
// in the same list. The windows keep it in their List1; the console program in memory.
#include <string>
#include <vector>

#include "ui/Form.h"

namespace olvex {

class PurgeList {
  public:
    virtual ~PurgeList() = default;
    virtual int Count() const = 0;
    virtual std::string At(int index) const = 0;
    virtual void Add(const std::string& address) = 0;
    // Whether another address fits.
    virtual bool HasRoom() const { return true; }
};

// A window's list box, whose item count is a 16-bit signed number.
class ListBoxPurgeList : public PurgeList {
  public:
    static constexpr int kCapacity = 32767;
    explicit ListBoxPurgeList(ui::Control& list) : list_(list) {}
    int Count() const override { return list_.ListCount(); }
    std::string At(int index) const override { return list_.List(index); }
    void Add(const std::string& address) override { list_.AddItem(address); }
    bool HasRoom() const override { return list_.ListCount() < kCapacity; }

  private:
    ui::Control& list_;
};

class PlainPurgeList : public PurgeList {
  public:
    int Count() const override { return static_cast<int>(addresses_.size()); }
    std::string At(int index) const override { return addresses_[static_cast<size_t>(index)]; }
    void Add(const std::string& address) override { addresses_.push_back(address); }

  private:
    std::vector<std::string> addresses_;
};

}  // namespace olvex
