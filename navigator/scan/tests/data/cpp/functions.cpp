#include "stdafx.h"
#include "doc.h"

int Prototype(int a);
static void Helper(char* p, int n);

void CDoc::Serialize(CArchive& ar)
{
	if (ar.IsStoring()) { ar << m_n; }
}

void A::B::f() {
}

int
Plain(int a)
{
	return a * 2;
}

BOOL CDoc::IsEmpty() const {
	return m_n == 0;
}

int OldStyle(a, b)
	int a;
	char *b;
{
	return a;
}

CDoc::CDoc() : m_n(0), m_p(NULL)
{
}

CDoc::~CDoc()
{
}

CDoc::operator==(const CDoc& x) {
	return m_n == x.m_n;
}

CDoc& CDoc::operator = (const CDoc& x) { return *this; }

CDoc::operator LPCTSTR() const { return m_s; }

int (*Lookup(int key))(int) { return 0; }

extern "C" {
int CEntry(void) { return 0; }
}

extern "C" int Single(void) { return 1; }

namespace Geo {
double Area(double r) { return r * r; }
namespace {
void Hidden() {}
}
}

using namespace Geo;
static int g_table[] = { 1, 2, 3 };
int Last() { return g_table[0]; }
void CSplit
::Across() {}
