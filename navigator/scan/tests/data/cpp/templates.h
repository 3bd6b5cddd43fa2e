#ifndef TEMPLATES_H
#define TEMPLATES_H

template<class TYPE, class ARG_TYPE>
class CArray : public CObject
{
public:
	int GetSize() const { return m_nSize; }
	void Add(ARG_TYPE e) { }
protected:
	TYPE* m_pData;
};

template <class KEY, class VALUE> class CMap : public CObject, public CMapBase<KEY, VALUE> {
	VALUE Lookup(KEY k) { return VALUE(); }
};

template<class T>
inline T Max(T a, T b) { return a < b ? b : a; }

template<class T> T Min(T a, T b);

template<class T>
bool operator==(const CArray<T, T>& a, const CArray<T, T>& b) { return true; }

template<class T>
void CArray<T, T>::SetSize(int n) { }

template<> class CArray<char*, char*> { };

template<class T, int N = sizeof(T)> struct Fixed : Base<T> { T items[N]; };

template<class T> class CPtr<std::vector<T*> > { };

template class CArray<int, int>;

template<class T, class U, class V, class W, class X, class Y, class Z, class LONGNAME1, class LONGNAME2>
class VeryLongTemplateHeader : public VeryLongBaseClassName<T, U, V, W, X, Y, Z> { };

template<class T> class Broken<T;
void AfterBroken() {}

#endif
