// Growable arrays.
//
// CArray<TYPE, ARG_TYPE> keeps its elements by value, contiguously. Indexes
// run from 0 to GetSize() - 1. An index outside that range given to GetAt,
// operator[] or RemoveAt (or a negative size or position)
// asserts in debug builds and throws CInvalidArgException* otherwise: memory
// outside the array is never touched.
//
// CObArray holds CObject*; it does not own what they point to.
#pragma once

#include "afx/exception.h"
#include "afx/object.h"

#include <cassert>
#include <cstdint>
#include <vector>

typedef intptr_t INT_PTR;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    BOOL IsEmpty() const { return m_items.empty(); }

    // New elements are default-constructed; growBy is accepted and not needed.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        (void)growBy;
        Require(newSize >= 0);
        m_items.resize(static_cast<size_t>(newSize));
    }
    void RemoveAll() { m_items.clear(); }

    const TYPE& GetAt(INT_PTR index) const { return m_items[Checked(index)]; }
    TYPE& GetAt(INT_PTR index) { return m_items[Checked(index)]; }
    const TYPE& operator[](INT_PTR index) const { return m_items[Checked(index)]; }
    TYPE& operator[](INT_PTR index) { return m_items[Checked(index)]; }

    // Returns the index of the new element.
    INT_PTR Add(ARG_TYPE element)
    {
        m_items.push_back(element);
        return GetSize() - 1;
    }

    // Appends a copy of every element of source; returns the index of the
    // first appended one.
    INT_PTR Append(const CArray& source)
    {
        const INT_PTR first = GetSize();
        if (&source == this) {
            std::vector<TYPE> copy(m_items);
            m_items.insert(m_items.end(), copy.begin(), copy.end());
        } else {
            m_items.insert(m_items.end(), source.m_items.begin(), source.m_items.end());
        }
        return first;
    }

    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        Require(index >= 0 && count >= 0 && count <= GetSize() - index);
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

private:
    static void Require(bool condition)
    {
        assert(condition);
        if (!condition)
            throw new CInvalidArgException;
    }

    size_t Checked(INT_PTR index) const
    {
        Require(index >= 0 && index < GetSize());
        return static_cast<size_t>(index);
    }

    std::vector<TYPE> m_items;
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)
};
