{ The sum 1 + 2 + ... + n: the statement part comes from sum.fgd. }
program SumDemo;

procedure Sum(n: Integer; var s: Integer);
var
  i: Integer;
{$I sum.inc}

var
  s: Integer;
begin
  Sum(0, s);
  WriteLn(s);
  Sum(1, s);
  WriteLn(s);
  Sum(100, s);
  WriteLn(s);
end.
