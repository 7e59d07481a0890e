#include <vector>

#include "include/cef_values.h"

namespace {

struct Entry {
    CefValueType type = VTYPE_NULL;
    bool b = false;
    int i = 0;
    double d = 0;
    CefString s;
    CefRefPtr<CefListValue> list;
};

class ListValueImpl : public CefListValue {
public:
    bool IsValid() override { return true; }
    bool IsOwned() override { return false; }
    bool IsReadOnly() override { return false; }
    CefRefPtr<CefListValue> Copy() override {
        CefRefPtr<ListValueImpl> copy = new ListValueImpl();
        copy->entries_ = entries_;
        for (Entry& e : copy->entries_) {
            if (e.list.get()) e.list = e.list->Copy();
        }
        return copy.get();
    }

    bool SetSize(size_t size) override {
        entries_.resize(size);
        return true;
    }
    size_t GetSize() override { return entries_.size(); }
    bool Clear() override {
        entries_.clear();
        return true;
    }
    bool Remove(int index) override {
        if (!Has(index)) return false;
        entries_.erase(entries_.begin() + index);
        return true;
    }

    CefValueType GetType(int index) override { return Has(index) ? entries_[index].type : VTYPE_INVALID; }
    bool GetBool(int index) override { return Is(index, VTYPE_BOOL) && entries_[index].b; }
    int GetInt(int index) override { return Is(index, VTYPE_INT) ? entries_[index].i : 0; }
    double GetDouble(int index) override {
        if (Is(index, VTYPE_DOUBLE)) return entries_[index].d;
        return Is(index, VTYPE_INT) ? entries_[index].i : 0;
    }
    CefString GetString(int index) override { return Is(index, VTYPE_STRING) ? entries_[index].s : CefString(); }
    CefRefPtr<CefListValue> GetList(int index) override {
        return Is(index, VTYPE_LIST) ? entries_[index].list : CefRefPtr<CefListValue>();
    }

    bool SetNull(int index) override { return Slot(index) != nullptr; }
    bool SetBool(int index, bool value) override {
        Entry* e = Slot(index);
        if (!e) return false;
        e->type = VTYPE_BOOL;
        e->b = value;
        return true;
    }
    bool SetInt(int index, int value) override {
        Entry* e = Slot(index);
        if (!e) return false;
        e->type = VTYPE_INT;
        e->i = value;
        return true;
    }
    bool SetDouble(int index, double value) override {
        Entry* e = Slot(index);
        if (!e) return false;
        e->type = VTYPE_DOUBLE;
        e->d = value;
        return true;
    }
    bool SetString(int index, const CefString& value) override {
        Entry* e = Slot(index);
        if (!e) return false;
        e->type = VTYPE_STRING;
        e->s = value;
        return true;
    }
    bool SetList(int index, CefRefPtr<CefListValue> value) override {
        // A list cannot hold itself; any other list is taken as it is.
        if (!value.get() || value.get() == this) return false;
        Entry* e = Slot(index);
        if (!e) return false;
        e->type = VTYPE_LIST;
        e->list = value;
        return true;
    }

private:
    bool Has(int index) const { return index >= 0 && static_cast<size_t>(index) < entries_.size(); }
    bool Is(int index, CefValueType type) const { return Has(index) && entries_[index].type == type; }
    // The entry at |index|, reset to no value; the list grows to reach it.
    Entry* Slot(int index) {
        if (index < 0) return nullptr;
        if (static_cast<size_t>(index) >= entries_.size()) entries_.resize(static_cast<size_t>(index) + 1);
        entries_[index] = Entry();
        return &entries_[index];
    }

    std::vector<Entry> entries_;

    IMPLEMENT_REFCOUNTING(ListValueImpl);
};

}  // namespace

CefRefPtr<CefListValue> CefListValue::Create() { return new ListValueImpl(); }
