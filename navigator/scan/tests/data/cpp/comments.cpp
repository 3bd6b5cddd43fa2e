// File header: the first lines count as a comment run
int First() { return 0; }
/*
 * A block comment ending the line before the function.
 */
void Documented()
{
}

// ends three lines above the name


void TooFar() {}

// ends two lines above the name

void JustInReach() {}

// a run of line comments
// that goes on
/* and a block comment starting on the next line */
// and one more
int LongRun(int a) { return a; }

// this run
          
// is broken by the blank line
int Broken() { return 1; }

/* same line */ int SameLine() { return 2; }

int Trailing() /* after the name: not above it */ { return 3; }
int Next() { return 4; }

// comments above a class do not move its item
class CCommented
{
	// nor this one
	int Member() { return 5; }
};
