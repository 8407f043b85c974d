#!/usr/bin/env bash
# Placeholder until the demo service ships sample media.
exit 0
