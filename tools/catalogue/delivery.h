#pragma once

#include "fault.h"
#include "payload.h"

#include <httplib.h>

// Puts a reply onto the wire, shaped by the fault switch: a gate (credentials, redirect,
// error status) may replace the reply, and the body may be cut, slowed or sent without length.
void deliver(Reply reply, const Fault& fault, const httplib::Request& request,
             httplib::Response& response);

// The request's target with its fault= parameter removed.
std::string withoutFaultSwitch(const std::string& target);
