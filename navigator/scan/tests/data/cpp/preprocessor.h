#define MAX_ITEMS 10
#define MIN(a, b) ((a) < (b) ? (a) : (b))
#define	TABBED	1
#  define INDENTED 2
#define CONTINUED(x) \
	do { x; } \
	while (0)
#define EMPTY
#define NOSPACE(x)x
#define DECLARE_DYNAMIC(class_name) static CRuntimeClass class##class_name;
#define class struct
#define OPEN_COMMENT "/*" /* a quoted comment opener is text */
int AfterQuote() { return 0; }
#define COMMENTED 3 /* comment
  still the comment */ int AfterComment() { return 1; }
#define LINECOMMENT 4 // a line comment \
int NotContinued() { return 2; }
#include <windows.h>
#pragma warning(disable: 4100)
#if defined(X) && (Y > 2)
#error Don't build this
#endif
#
#define
#define 5
int Last() { return MAX_ITEMS; }
