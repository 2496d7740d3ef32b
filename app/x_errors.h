#pragma once
// What the program makes of an error the X server sends back: which it expects, which it
// can go on after, which end the run, and the line that says so. Pure: no Xlib here.

#include <string>
#include <vector>

// One error as Xlib reports it: the error's code, the failed request's major and minor codes
// and the resource it named.
struct XErrorReport {
  int code;
  int request;
  int minor;
  unsigned long resource;
};

enum class XErrorVerdict {
  expected,    // an extension's request (GLX) refused while the window opens: the call fails
               // and the program says why in its own words
  harmless,    // goes on, said once
  windowLost,  // the program's window was destroyed by another program
  fatal,       // any other: the run cannot trust its window any more
};

// `opening`: SDL is setting the video mode; `ownWindows`: the windows SDL made for the program.
XErrorVerdict judgeXError(const XErrorReport& report, bool opening,
                          const std::vector<unsigned long>& ownWindows);

// The line on standard error, with its newline, for a harmless or ending verdict.
// `errorText` is Xlib's text for the code, `requestName` the request's name, or empty
// where Xlib knows none.
std::string xErrorLine(XErrorVerdict verdict, const XErrorReport& report,
                       const std::string& errorText, const std::string& requestName);
