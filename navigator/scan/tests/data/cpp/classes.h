// Classes, structs and what nests inside them.
#pragma once

class CShape;
class CShape * g_pShape;

class CShape : public CObject
{
public:
	CShape() {}
	virtual ~CShape() {}
	virtual void Draw(CDC* pDC) const = 0;
	int Area() const { return m_w * m_h; }
	void CRect::Normalize() { }
	class CIterator
	{
	public:
		BOOL Next() { return FALSE; }
	};
	struct Point { int x, y; Point() : x(0), y(0) {} };
	int Width() { return m_w; }
protected:
	int m_w, m_h;
};

class AFX_EXT_CLASS CCircle : public CShape, private CHelper
{
	void Draw(CDC* pDC) const { }
};

class CList : public ::CObject, public Base::Inner
{
};

class
{
	void Anonymous() {}
} g_anon;

struct Plain { int a; };
struct Plain s_plain;
struct Plain* MakePlain() { return 0; }

struct Outer
{
	union { int i; float f; } u;
	int Get() { struct Local { int q; }; return 0; }
	int After() { return 1; }
};

typedef struct tagPOINT3 { long x, y, z; } POINT3;
typedef struct { long cx, cy; } SIZE2;
typedef struct tagONLY { int a; };
typedef struct tagFWD *LPFWD;
typedef int INTEGER;

struct { int a; } g_unnamed;
void AfterUnnamed() {}

void Function()
{
	class Local { void Inner() {} };
	struct LocalStruct { int a; };
}
void NextFunction() {}
