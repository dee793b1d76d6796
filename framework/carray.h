// CArray: a growable array of values, with the operations the programs use.
//
// Elements are held by value in one contiguous block (std::vector underneath), so GetData()
// can be handed to code that wants a plain array. Indexes are signed (ptrdiff_t, the width of
// a pointer) as the rest of the framework counts them.
//
// An index outside the array is a programming error, not a run-time condition: instead of
// reading or writing past the block, the program stops at once (std::abort). Operations that
// take a count accept 0 and do nothing with it.
//
// Portable: no <windows.h>, so the core can use it as well.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray
{
public:
    typedef std::ptrdiff_t INDEX;

    CArray() = default;

    // Number of elements.
    INDEX GetSize() const { return static_cast<INDEX>(m_items.size()); }
    INDEX GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    // Index of the last element; -1 when empty.
    INDEX GetUpperBound() const { return GetSize() - 1; }

    // Resizes to newSize elements: new ones are value-initialised (zero for plain records),
    // the ones beyond newSize are dropped. A negative size counts as 0. growBy is accepted
    // for compatibility and ignored (the block grows geometrically).
    void SetSize(INDEX newSize, INDEX growBy = -1)
    {
        (void)growBy;
        m_items.resize(newSize > 0 ? static_cast<std::size_t>(newSize) : 0);
    }

    const TYPE& GetAt(INDEX index) const { return m_items[Checked(index)]; }
    void SetAt(INDEX index, ARG_TYPE newElement) { m_items[Checked(index)] = newElement; }
    TYPE& ElementAt(INDEX index) { return m_items[Checked(index)]; }
    const TYPE& ElementAt(INDEX index) const { return m_items[Checked(index)]; }
    TYPE& operator[](INDEX index) { return m_items[Checked(index)]; }
    const TYPE& operator[](INDEX index) const { return m_items[Checked(index)]; }

    // The elements as a plain array; null when empty. Valid until the size changes.
    TYPE* GetData() { return m_items.empty() ? nullptr : m_items.data(); }
    const TYPE* GetData() const { return m_items.empty() ? nullptr : m_items.data(); }

    // Appends one element; returns its index.
    INDEX Add(ARG_TYPE newElement)
    {
        m_items.push_back(newElement);
        return GetSize() - 1;
    }

    // Inserts count copies of newElement before index; index may equal GetSize() (append)
    // or lie beyond it, in which case the array first grows to index with zeroed elements.
    void InsertAt(INDEX index, ARG_TYPE newElement, INDEX count = 1)
    {
        if (index < 0 || count < 0)
            std::abort();
        if (count == 0)
            return;
        // Copied first: newElement may refer to an element of this array.
        TYPE value = newElement;
        if (index > GetSize())
            SetSize(index);
        m_items.insert(m_items.begin() + index, static_cast<std::size_t>(count), value);
    }

    // Removes count elements starting at index; the range must lie inside the array.
    void RemoveAt(INDEX index, INDEX count = 1)
    {
        if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index)
            std::abort();
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

    void RemoveAll() { m_items.clear(); }

    // Makes this array a copy of src.
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_items = src.m_items;
    }

    // Appends the elements of src; returns the index of the first one appended.
    INDEX Append(const CArray& src)
    {
        INDEX first = GetSize();
        std::vector<TYPE> copy = src.m_items; // src may be this array
        m_items.insert(m_items.end(), copy.begin(), copy.end());
        return first;
    }

private:
    std::size_t Checked(INDEX index) const
    {
        if (index < 0 || index >= GetSize())
            std::abort();
        return static_cast<std::size_t>(index);
    }

    std::vector<TYPE> m_items;
};
