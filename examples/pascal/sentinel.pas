{ Reading numbers until the sentinel 0: the statement part comes from sentinel.fgd. }
program SentinelDemo;

procedure Run;
var
  x, count, total: Integer;
{$I sentinel.inc}

begin
  Run;
end.
